#include "engine/new_position.h"

#include <cstdio>

#include "search/search_memory.h"
#include "search/think.h"
#include "tools/epd_move.h"

namespace {

LoadOutcome LastOutcome = LoadOutcome::Refused;

LoadOutcome Load(Position& pos, const char* text, bool newSearchPosition) {
  EpdOperation operation;
  if (!LoadBoard(pos, text, operation)) return LoadOutcome::Refused;
  if (newSearchPosition) ForgetSearchMemory(ReportingSearcher());
  if (ReadEpdMove(pos, operation)) return LoadOutcome::Loaded;
  std::printf("Warning cannot recognize move: %s\r\n", operation.moveText);
  return LoadOutcome::EpdMoveNotRecognised;
}

}  // namespace

bool LoadPosition(Position& pos, const char* text) {
  LastOutcome = Load(pos, text, true);
  return LastOutcome == LoadOutcome::Loaded;
}

bool ReadPositionText(Position& pos, const char* text) {
  LastOutcome = Load(pos, text, false);
  return LastOutcome == LoadOutcome::Loaded;
}

LoadOutcome LastLoadOutcome() { return LastOutcome; }

void ForgetSearchMemoryAfterLoads(u32 loadsBefore) {
  if (PositionLoadCount() != loadsBefore) ForgetSearchMemory(ReportingSearcher());
}
