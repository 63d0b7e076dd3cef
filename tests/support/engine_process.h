// Runs the built engine as a child process over pipes in a working folder of its own, as a GUI or an operator would.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A fresh temporary directory, removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A temporary folder that is the working directory for the life of the object.
struct InTempDir : TempDir {
  InTempDir() { std::filesystem::current_path(Path()); }
  ~InTempDir() { std::filesystem::current_path(previous); }
  std::filesystem::path previous = std::filesystem::current_path();
};

class EngineProcess {
 public:
  // A new temporary folder when none is given. The engine unless another program is given: a copy of the built one that
  // finds no book but in its working folder (TAVREL_BINARY, the engine of the build tree, finds the default book).
  explicit EngineProcess(const std::string& workingDir = "", const std::string& program = TAVREL_WITHOUT_BOOK);
  ~EngineProcess();  // kills an engine still running
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  void Send(const std::string& text);
  void CloseInput();
  void Interrupt();  // SIGINT, as xboard sends before each of its moves
  void Terminate();  // SIGTERM, as xboard sends after "quit"
  // The lines printed up to and including the first that starts with prefix (without their line ends); nothing when it
  // does not come within the wait.
  std::optional<std::vector<std::string>> ReadUntil(const std::string& prefix,
                                                    std::chrono::seconds wait = std::chrono::seconds(20));
  // What standard output still brings until the engine closes it, or until the wait is over.
  std::string ReadToEnd(std::chrono::seconds wait = std::chrono::seconds(60));
  int Wait();  // the exit code; 128 + signal when a signal ended it (SIGKILL after a minute)
  std::string StandardError();
  std::string ReadLog() const;  // the engine log in its working directory

 private:
  using Clock = std::chrono::steady_clock;
  bool FillBuffer(Clock::time_point deadline);  // false when the output has ended or time is up

  std::optional<TempDir> ownDirectory_;
  std::string directory_;
  int pid_ = -1, toEngine_ = -1, fromEngine_ = -1, exitCode_ = RUNNING;
  static constexpr int RUNNING = -2;
  std::FILE* errors_ = std::tmpfile();  // the engine's standard error
  std::string pending_;
  bool outputEnded_ = false;
};

// The start-up lines (greeting reply, features, book report), everything printed after them, standard error, the log.
struct EngineRun {
  std::string startup, output, errors, log;
  int exitCode;
};

// Starts the engine, writes all of input, closes standard input and collects everything until it exits (or for the
// wait at most), the start-up lines apart from the rest.
EngineRun RunEngine(const std::string& input, const std::string& workingDir = "",
                    const std::string& program = TAVREL_WITHOUT_BOOK, std::chrono::seconds wait = std::chrono::seconds(60));

// Reads a whole file; empty when it does not exist.
std::string ReadFile(const std::string& path);
// How many times part stands in text.
int Count(const std::string& text, const std::string& part);
