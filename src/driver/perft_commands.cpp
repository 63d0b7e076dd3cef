#include "driver/perft_commands.h"

#include "platform/console_input.h"
#include "movegen/perft.h"

namespace {

// The depth after the word; 0 when no number follows.
int ReadDepth() {
  i32 depth = 0;
  if (!ReadNumber(depth)) depth = 0;
  return depth;
}

}  // namespace

void PerftCommand(Engine& engine, const char*) { RunPerft(engine.game, ReadDepth()); }

void DivideCommand(Engine& engine, const char*) { RunDivide(engine.game, ReadDepth()); }
