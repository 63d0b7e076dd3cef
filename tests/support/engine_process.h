// Runs the built engine as a child process over pipes, in a fresh working
// directory of its own, so that tests can talk to it as a GUI or an operator.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

class EngineProcess {
 public:
  using Timeout = std::chrono::milliseconds;

  // Starts the engine in a new temporary directory (or in workingDir when given).
  explicit EngineProcess(const std::string& workingDir = "");
  ~EngineProcess();
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  void Send(const std::string& text);
  void CloseInput();
  void Interrupt();  // SIGINT, as xboard sends before each of its moves
  void Terminate();  // SIGTERM, as xboard sends after "quit"
  // The lines printed up to and including the first that starts with prefix
  // (without their line ends); nothing when it does not come in time.
  std::optional<std::vector<std::string>> ReadUntil(const std::string& prefix, Timeout timeout = Timeout(20000));
  // Everything still to come on standard output until the engine closes it.
  std::string ReadToEnd(Timeout timeout = Timeout(60000));
  // The exit code; 128 + signal when a signal ended the engine, -1 when it was killed after the timeout.
  int Wait(Timeout timeout = Timeout(60000));
  std::string StandardError();
  std::string ReadLog() const;  // the engine log in its working directory

 private:
  void FillBuffer(Timeout timeout);  // waits for output at most timeout

  std::string directory_;
  bool ownsDirectory_;
  int pid_ = -1, toEngine_ = -1, fromEngine_ = -1;
  std::FILE* errors_ = std::tmpfile();  // the engine's standard error
  std::string pending_;
  bool outputEnded_ = false;
  int exitCode_ = -2;  // -2 while running
};

struct EngineRun {
  std::string startup;  // the start-up lines (greeting reply, features, book report)
  std::string output;   // everything printed after them
  std::string errors;
  std::string log;
  int exitCode;
};

// Starts the engine, writes all of input, closes standard input and collects
// everything until it exits, the start-up lines apart from the rest.
EngineRun RunEngine(const std::string& input, const std::string& workingDir = "");

// Reads a whole file; empty when it does not exist.
std::string ReadFile(const std::string& path);

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
