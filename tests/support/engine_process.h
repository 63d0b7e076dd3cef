// Runs the built engine as a child process over pipes, in a fresh working
// directory of its own, so that tests can talk to it as a GUI or an operator.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class EngineProcess {
 public:
  // Starts the engine in a new temporary directory (or in workingDir when given).
  explicit EngineProcess(const std::string& workingDir = "");
  ~EngineProcess();
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  void Send(const std::string& text);
  void CloseInput();

  // The next whole line of standard output (without its line end), or nothing
  // when none arrives in time or the output ended.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(20));

  // Lines up to and including the first that starts with prefix; empty optional on timeout.
  std::optional<std::vector<std::string>> ReadUntil(
      const std::string& prefix, std::chrono::milliseconds timeout = std::chrono::seconds(20));

  // Reads the lines the engine prints at start-up, up to "feature done=1" and
  // the report of a missing book that may follow it; returns them. The engine
  // prints them once it has read its first word: send that first.
  std::vector<std::string> ReadStartup();

  // Everything still to come on standard output until the engine closes it.
  std::string ReadToEnd(std::chrono::milliseconds timeout = std::chrono::seconds(60));

  // Waits for the process to end; its exit code, or -1 on a timeout (then it is killed),
  // or 128 + signal when a signal ended it.
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(60));

  std::string StandardError();
  const std::string& Directory() const { return directory_; }
  std::string ReadLog() const;  // the engine log in its working directory

 private:
  bool FillBuffer(std::chrono::milliseconds timeout);
  void DrainStandardError();

  std::string directory_;
  bool ownsDirectory_ = false;
  int pid_ = -1;
  int toEngine_ = -1;
  int fromEngine_ = -1;
  int errorsFromEngine_ = -1;
  std::string pending_;
  std::string errors_;
  bool outputEnded_ = false;
  int exitCode_ = -2;
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

// Splits what the engine printed into its start-up lines and the rest.
void SplitStartup(const std::string& printed, std::string& startup, std::string& rest);

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
