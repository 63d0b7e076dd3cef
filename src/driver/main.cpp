#include <csignal>

#include "driver/command_loop.h"

int main() {
  // The interface sends SIGINT before each of its moves; the search notices
  // the move itself by polling, so the signal must not end the engine.
  std::signal(SIGINT, SIG_IGN);
  CommandLoop();
  return 0;
}
