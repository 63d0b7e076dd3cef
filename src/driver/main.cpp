#include "driver/command_loop.h"
#include "platform/signals.h"

int main() {
  IgnoreInterfaceInterrupts();
  CommandLoop();
  return 0;
}
