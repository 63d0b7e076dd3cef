#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/position.h"
#include "driver/command_loop.h"
#include "driver/console_input.h"
#include "driver/input_poll.h"
#include "driver/time_control.h"
#include "mate_solver.h"
#include "movegen/move_stack.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "search/trans_table.h"
#include "search_fixture.h"

namespace {

// Busy enough that every iteration from the third on looks at the input.
constexpr char MIDDLEGAME[] = "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -";
// Far deeper than any test searches before something stops it.
constexpr u32 NO_DEPTH_LIMIT = 60;
constexpr i64 UNLIMITED_MS = i64{1} << 40;

// A move code that no piece of MIDDLEGAME can make: a3 is empty.
constexpr Move MOVE_THAT_DOES_NOT_FIT = MakeMoveCode(A3, A4, KIND_QUIET);
constexpr int DEEP_ENTRY = 6;

bool IsLegal(Move move) {
  const std::vector<Move> moves = LegalMoves();
  return std::find(moves.begin(), moves.end(), move) != moves.end();
}

using StopTest = SearchTest;

TEST_F(StopTest, PendingInputStopsTheSearchWithThePreviousIterationsMove) {
  Load(MIDDLEGAME);
  WriteInput("e7e5\n");
  SearchTo(NO_DEPTH_LIMIT);
  ASSERT_TRUE(StopSearch);
  const u32 stoppedIteration = IterationDepth;
  EXPECT_GE(stoppedIteration, 3u);
  const Move stoppedMove = BestMove;
  const i16 stoppedScore = BestScore;
  EXPECT_TRUE(IsLegal(stoppedMove));
  EXPECT_EQ(InputPending(), 5u);  // the search reads nothing

  // The same search, ended by its depth after the last iteration the first one completed.
  char word[COMMAND_BUFFER_SIZE];
  ASSERT_EQ(ReadWord(word, sizeof word), WordStatus::Read);
  Load(MIDDLEGAME);
  SearchTo(stoppedIteration - 1);
  EXPECT_FALSE(StopSearch);
  EXPECT_EQ(BestMove, stoppedMove);
  EXPECT_EQ(BestScore, stoppedScore);
}

TEST_F(StopTest, PendingInputWaitsForTheFirstIterationToEnd) {
  Load(MIDDLEGAME);
  // A deep entry whose move does not fit: the first iteration is that deep,
  // and until it ends there is no move to answer with.
  StoreTransTable(MOVE_THAT_DOES_NOT_FIT, 0, DEEP_ENTRY, BOUND_EXACT);
  WriteInput("e7e5\n");
  SearchTo(NO_DEPTH_LIMIT);
  EXPECT_TRUE(StopSearch);
  EXPECT_GT(IterationDepth, static_cast<u32>(DEEP_ENTRY));
  EXPECT_GT(MovesMade, 2 * POLL_INTERVAL);  // it looked, and went on
  EXPECT_TRUE(IsLegal(BestMove));
}

TEST_F(StopTest, APonderSearchStopsAtItsFirstLook) {
  Load(MIDDLEGAME);
  StoreTransTable(MOVE_THAT_DOES_NOT_FIT, 0, DEEP_ENTRY, BOUND_EXACT);
  EngineState = ENGINE_PONDERING;
  WriteInput("e7e5\n");
  SearchTo(NO_DEPTH_LIMIT);
  EXPECT_TRUE(StopSearch);
  EXPECT_EQ(MovesMade, POLL_INTERVAL + 1);  // every node returned at once
  EXPECT_EQ(IterationDepth, static_cast<u32>(DEEP_ENTRY));
  EXPECT_EQ(BestMove, MOVE_THAT_DOES_NOT_FIT);  // a ponder search's answer is never played
}

TEST_F(StopTest, ASpentBudgetStillLetsTheFirstTwoIterationsEnd) {
  Load(MIDDLEGAME);
  TimeBudgetMs = 0;
  SearchTo(NO_DEPTH_LIMIT);
  EXPECT_TRUE(StopSearch);
  EXPECT_EQ(IterationDepth, 3u);
  const Move move = BestMove;

  TimeBudgetMs = UNLIMITED_MS;
  Load(MIDDLEGAME);
  SearchTo(2);
  EXPECT_EQ(BestMove, move);
}

TEST_F(StopTest, APonderSearchIgnoresTheClock) {
  Load(MIDDLEGAME);
  EngineState = ENGINE_PONDERING;
  TimeBudgetMs = 0;
  SearchTo(4);
  EXPECT_FALSE(StopSearch);
  EXPECT_EQ(IterationDepth, 5u);  // all four iterations ended
}

TEST_F(StopTest, TheFailLowExtensionIsTakenBack) {
  Load(MIDDLEGAME);
  // An exact entry far above the true score: the first iteration fails low.
  StoreTransTable(LegalMoves().front(), 600, 4, BOUND_EXACT);
  MovesToGo = 10;
  SearchTo(5);
  EXPECT_EQ(TimeBudgetMs, UNLIMITED_MS);
  EXPECT_LT(BestScore, 300);
}

TEST_F(StopTest, ADeepExactEntryStartsTheSearchAtItsDepth) {
  Load(MIDDLEGAME);
  const Move tableMove = LegalMoves().back();
  StoreTransTable(tableMove, 42, DEEP_ENTRY, BOUND_EXACT);
  SearchTo(DEEP_ENTRY - 1);  // no iteration is deeper: the entry is the answer
  EXPECT_EQ(BestMove, tableMove);
  EXPECT_EQ(BestScore, 42);
  EXPECT_EQ(MovesMade, 0u);

  Load(MIDDLEGAME);
  StoreTransTable(tableMove, 42, DEEP_ENTRY, BOUND_EXACT);
  PrintThinking = true;
  testing::internal::CaptureStdout();
  SearchTo(DEEP_ENTRY);
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(output.rfind("    6     ", 0), 0u) << output;  // a single line, of iteration 6
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1);
}

}  // namespace
