#include "engine/new_position.h"

#include <cstdio>

#include "search/search_memory.h"
#include "search/think.h"
#include "tools/epd_move.h"

namespace {

LoadOutcome LastOutcome = LoadOutcome::Refused;

// Forgets the memory of the searcher given, if any, once the board is loaded.
LoadOutcome Load(Position& pos, const char* text, Searcher* forgetting) {
  EpdOperation operation;
  if (!LoadBoard(pos, text, operation)) return LoadOutcome::Refused;
  if (forgetting != nullptr) ForgetSearchMemory(*forgetting);
  if (ReadEpdMove(pos, operation)) return LoadOutcome::Loaded;
  std::printf("Warning cannot recognize move: %s\r\n", operation.moveText);
  return LoadOutcome::EpdMoveNotRecognised;
}

}  // namespace

bool LoadPosition(Engine& engine, const char* text) {
  Position& pos = engine.game;
  LastOutcome = Load(pos, text, engine.searcher.get());
  return LastOutcome == LoadOutcome::Loaded;
}

bool ReadPositionText(Position& pos, const char* text) {
  LastOutcome = Load(pos, text, nullptr);
  return LastOutcome == LoadOutcome::Loaded;
}

LoadOutcome LastLoadOutcome() { return LastOutcome; }

void ForgetSearchMemoryAfterLoads(Engine& engine, u32 loadsBefore) {
  if (engine.game.LoadCount != loadsBefore) ForgetSearchMemory(*engine.searcher);
}
