#include "engine/new_position.h"

#include <cstdio>

#include "search/search_memory.h"
#include "tools/epd_move.h"

namespace {

LoadOutcome LastOutcome = LoadOutcome::Refused;

LoadOutcome Load(const char* text) {
  EpdOperation operation;
  if (!LoadBoard(text, operation)) return LoadOutcome::Refused;
  ForgetSearchMemory();
  if (ReadEpdMove(operation)) return LoadOutcome::Loaded;
  std::printf("Warning cannot recognize move: %s\r\n", operation.moveText);
  return LoadOutcome::EpdMoveNotRecognised;
}

}  // namespace

bool LoadPosition(const char* text) {
  LastOutcome = Load(text);
  return LastOutcome == LoadOutcome::Loaded;
}

LoadOutcome LastLoadOutcome() { return LastOutcome; }

void ForgetSearchMemoryAfterLoads(u32 loadsBefore) {
  if (PositionLoadCount() != loadsBefore) ForgetSearchMemory();
}
