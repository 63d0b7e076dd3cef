#include "support/command_feed.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "driver/command_loop.h"
#include "driver/console_input.h"

void RunCommands(const std::string& text) {
  int ends[2];
  if (pipe(ends) != 0) throw std::runtime_error("pipe failed");
  if (text.size() > 60000) throw std::runtime_error("command text too long for one pipe");
  if (write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    throw std::runtime_error("write failed");
  }
  close(ends[1]);
  int previous = InputDescriptor();
  SetInputDescriptor(ends[0]);
  while (ExecuteNextCommand()) {
  }
  SetInputDescriptor(previous);
  close(ends[0]);
  if (EngineState == ENGINE_QUIT) EngineState = ENGINE_FORCE;
}

std::string RunCommandsCapturingOutput(const std::string& text) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  RunCommands(text);
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}
