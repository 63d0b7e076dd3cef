#include "driver/game_commands.h"

#include "board/load_position.h"
#include "board/position.h"
#include "board/position_text.h"
#include "driver/board_commands.h"
#include "driver/command_loop.h"
#include "driver/pondering.h"
#include "driver/time_control.h"
#include "driver/xboard.h"

namespace {
constexpr const char* TEST_POSITION = "8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51";
constexpr i64 UNLIMITED_CLOCK_CS = 999999999;
}  // namespace

void GoCommand(const char*) {
  LeavePondering();
  EngineMove();
}

void ResultCommand(const char* word) { NewCommand(word); }

void TestCommand(const char*) {
  MovesPerControl = 1;
  IncrementMs = 0;
  LoadPosition(TEST_POSITION);
  PonderMove = NO_MOVE;
  EngineState = ENGINE_PLAYING;
  PonderEnabled = false;
  PrintBoard(Board);
  AllocateTime(UNLIMITED_CLOCK_CS);
}

void ForceCommand(const char*) {
  if (EngineState == ENGINE_PONDERING) TakeBackPonderMove();
  StopEngine();
}
