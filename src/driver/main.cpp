#include "driver/command_loop.h"

int main() {
  CommandLoop();
  return 0;
}
