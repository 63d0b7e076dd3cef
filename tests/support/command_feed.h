// Feeds console words to the engine's own command loop inside the test process.
#pragma once

#include <functional>
#include <string>

#include "engine/engine.h"

// A pipe that the command reader (and so the input poll) reads while the object lives, written by the test; the
// previous input comes back after.
class InputPipe {
 public:
  InputPipe();
  ~InputPipe();
  InputPipe(const InputPipe&) = delete;
  InputPipe& operator=(const InputPipe&) = delete;
  void Write(const std::string& text);  // at most what the pipe holds
  void CloseWriter();                   // the end of input

 private:
  int ends_[2] = {-1, -1}, previous_;
};

// Runs the command loop's dispatcher over text until it ends (end of text or "quit"). Standard input is not touched:
// the words come through a pipe.
void RunCommands(Engine& engine, const std::string& text);

// The same, and returns what the commands printed on standard output.
std::string RunCommandsCapturingOutput(Engine& engine, const std::string& text);

// Runs body with standard output captured and returns what it printed.
std::string CaptureOutput(const std::function<void()>& body);
