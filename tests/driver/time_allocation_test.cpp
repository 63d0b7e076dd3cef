#include <gtest/gtest.h>

#include "board/position.h"
#include "driver/time_control.h"
#include "support/command_feed.h"

namespace {

TEST(TimeAllocation, FortyMovesInFiveMinutesEarlyInTheGame) {
  // level 40 5 0, move 1, 300 s left: 40 to go, share 750 cs less 100.
  TimeAllocation a = ComputeTimeAllocation(30000, 40, 0, 1);
  EXPECT_EQ(a.movesToGo, 40);
  EXPECT_EQ(a.budgetMs, 6500);
}

TEST(TimeAllocation, WholeGameControlSharesAsIfThirtyThreeMovesWereLeft) {
  TimeAllocation a = ComputeTimeAllocation(6000, 0, 0, 1);
  EXPECT_EQ(a.movesToGo, 33);
  EXPECT_EQ(a.budgetMs, 1810);  // share 181 cs, below 220: kept whole
}

TEST(TimeAllocation, LastMoveBeforeTheControlKeepsATenthInReserve) {
  // (79 >> 1) mod 40 = 39: one move to go.
  TimeAllocation a = ComputeTimeAllocation(1000, 40, 0, 79);
  EXPECT_EQ(a.movesToGo, 1);
  EXPECT_EQ(a.budgetMs, (1000 - 100) * 9);
}

TEST(TimeAllocation, MediumShareKeepsHalfASecondAndAddsTheIncrement) {
  // 20 to go: move 41 of a 40-move control is (41 >> 1) mod 40 = 20 into it.
  TimeAllocation a = ComputeTimeAllocation(5000, 40, 2000, 41);
  EXPECT_EQ(a.movesToGo, 20);
  EXPECT_EQ(a.budgetMs, 2000 + 2000);
}

TEST(TimeAllocation, ShareBoundariesAreInclusive) {
  EXPECT_EQ(ComputeTimeAllocation(500, 1, 0, 1).budgetMs, 400 * 9);
  EXPECT_EQ(ComputeTimeAllocation(499, 1, 0, 1).budgetMs, 449 * 9);
  EXPECT_EQ(ComputeTimeAllocation(220, 1, 0, 1).budgetMs, 170 * 9);
  EXPECT_EQ(ComputeTimeAllocation(219, 1, 0, 1).budgetMs, 219 * 9);
}

TEST(TimeAllocation, TestSetUpDoesNotOverflow) {
  TimeAllocation a = ComputeTimeAllocation(999999999, 1, 0, 1);
  EXPECT_EQ(a.movesToGo, 1);
  EXPECT_EQ(a.budgetMs, 8999999091LL);
}

TEST(TimeAllocation, TimeCommandUsesTheLevelAndTheGameMoveCount) {
  GameMoveCount = 1;
  RunCommands("level 40 5 0\ntime 30000\notim 29000\n");
  EXPECT_EQ(MovesPerControl, 40);
  EXPECT_EQ(IncrementMs, 0);
  EXPECT_EQ(MovesToGo, 40);
  EXPECT_EQ(TimeBudgetMs, 6500);
}

TEST(TimeAllocation, LevelReadsIncrementInSecondsAndIgnoresTheBase) {
  RunCommands("level 0 2 12\n");
  EXPECT_EQ(MovesPerControl, 0);
  EXPECT_EQ(IncrementMs, 12000);
  RunCommands("level 40 0:30 0\n");
  EXPECT_EQ(MovesPerControl, 40);
  EXPECT_EQ(IncrementMs, 0);
}

}  // namespace
