#include "support/command_feed.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "driver/command_loop.h"
#include "platform/console_input.h"

InputPipe::InputPipe() : previous_(InputDescriptor()) {
  if (pipe(ends_) != 0) throw std::runtime_error("pipe failed");
  SetInputDescriptor(ends_[0]);
}

InputPipe::~InputPipe() {
  SetInputDescriptor(previous_);
  for (int end : ends_) close(end);
}

void InputPipe::Write(const std::string& text) {
  if (text.size() > 60000 || write(ends_[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    throw std::runtime_error("write to the input pipe failed");
  }
}

void InputPipe::CloseWriter() {
  close(ends_[1]);
  ends_[1] = -1;
}

void RunCommands(Engine& engine, const std::string& text) {
  {
    InputPipe input;
    input.Write(text);
    input.CloseWriter();
    while (ExecuteNextCommand(engine)) {
    }
  }
  if (engine.State == ENGINE_QUIT) engine.State = ENGINE_FORCE;
}

std::string CaptureOutput(const std::function<void()>& body) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  body();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

std::string RunCommandsCapturingOutput(Engine& engine, const std::string& text) {
  return CaptureOutput([&engine, &text] { RunCommands(engine, text); });
}
