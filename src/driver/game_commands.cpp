#include "driver/game_commands.h"

#include "board/position.h"
#include "board/position_text.h"
#include "driver/board_commands.h"
#include "driver/command_loop.h"
#include "driver/pondering.h"
#include "driver/xboard.h"
#include "driver/xboard_commands.h"
#include "engine/game.h"
#include "engine/time_control.h"
#include "platform/engine_log.h"
#include "search/search_limits.h"

namespace {
constexpr const char* TEST_POSITION = "8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51";
constexpr i64 UNLIMITED_CLOCK_CS = 999999999;
}  // namespace

void GoCommand(Engine& engine, const char*) {
  LeavePondering(engine);
  EngineMove(engine);
}

void ResultCommand(Engine& engine, const char* word) {
  IgnoredWithArguments(engine, word);  // the result and its comment are the interface's
  NewCommand(engine, word);
  engine.State = ENGINE_PLAYING;
}

void TestCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  engine.MovesPerControl = 1;
  engine.IncrementMs = 0;
  engine.ControlBaseMs = 0;
  engine.FixedMoveMs = 0;
  StartGame(engine, TEST_POSITION);
  engine.PonderMove = NO_MOVE;
  engine.State = ENGINE_PLAYING;
  engine.PonderEnabled = false;
  PrintBoard(pos.Board);
  AllocateTime(engine, UNLIMITED_CLOCK_CS);
  engine.ClockKnown = true;
}

void ForceCommand(Engine& engine, const char*) {
  if (engine.State == ENGINE_ANALYZING) return;  // analysis plays neither side already (PyChess sends it there)
  if (engine.State == ENGINE_PONDERING) TakeBackPonderMove(engine);
  StopEngine(engine);
}

void StopEngine(Engine& engine) {
  EngineLog << "-M: entered StopEngine" << EndLine;
  engine.State = ENGINE_FORCE;
  StopSearch = true;
  engine.limits.SearchStartClock = 0;
  EngineLog << "-M: exited StopEngine" << EndLine;
}
