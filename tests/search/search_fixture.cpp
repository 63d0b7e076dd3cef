#include "search_fixture.h"

#include <unistd.h>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "board/position.h"
#include "driver/clock.h"
#include "driver/command_loop.h"
#include "driver/console_input.h"
#include "driver/time_control.h"
#include "search/search_stop.h"
#include "search/think.h"

namespace {
constexpr i64 UNLIMITED_MS = i64{1} << 40;
}

void SearchTest::SetUp() {
  InitBoardTables();
  ASSERT_EQ(pipe(input_), 0);
  SetInputDescriptor(input_[0]);
  EngineState = ENGINE_FORCE;
  PrintThinking = false;
  InputStopsSearch = true;
  MovesToGo = DEFAULT_MOVES_TO_GO;
  TimeBudgetMs = UNLIMITED_MS;
}

void SearchTest::TearDown() {
  SetInputDescriptor(0);
  for (int end : input_) {
    if (end >= 0) close(end);
  }
  PrintThinking = true;
  EngineState = ENGINE_FORCE;
}

void SearchTest::Load(const char* fen) { ASSERT_TRUE(LoadPosition(fen)) << fen; }

Move SearchTest::SearchTo(u32 depth) {
  MaxSearchDepth = depth;
  StopSearch = false;
  SearchStartClock = ClockMs();
  UndoTop = UndoRecords;
  return Think();
}

void SearchTest::WriteInput(const std::string& text) {
  ASSERT_EQ(write(input_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

std::string MoveText(Move move) {
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, move);
  return text;
}
