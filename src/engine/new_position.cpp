#include "engine/new_position.h"

#include <cstdio>

#include "search/search_memory.h"
#include "search/think.h"
#include "tools/epd_move.h"

namespace {

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
  engine.LastLoadOutcome = Load(engine.game, text, engine.searcher.get());
  return engine.LastLoadOutcome == LoadOutcome::Loaded;
}

bool ReadPositionText(Position& pos, const char* text, LoadOutcome* outcome) {
  const LoadOutcome ended = Load(pos, text, nullptr);
  if (outcome != nullptr) *outcome = ended;
  return ended == LoadOutcome::Loaded;
}

void ForgetSearchMemoryAfterLoads(Engine& engine, u32 loadsBefore) {
  if (engine.game.LoadCount != loadsBefore) ForgetSearchMemory(*engine.searcher);
}
