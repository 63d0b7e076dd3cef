// Pondering in process: the guess made and taken back, a hit that counts the
// time spent pondering, and the words that end pondering.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "driver/command_loop.h"
#include "driver/console_input.h"
#include "driver/game_move.h"
#include "driver/pondering.h"
#include "driver/time_control.h"
#include "driver/xboard.h"
#include "search/think.h"
#include "search/whole_position.h"
#include "support/command_feed.h"

namespace {

constexpr i64 SHORT_BUDGET_MS = 30;

// A game after 1.e4 with the engine to answer for black, an input pipe holding
// a word so that every search stops at its first look at the input.
class PonderingTest : public testing::Test {
 protected:
  void SetUp() override {
    InitBoardTables();
    ASSERT_EQ(pipe(input_), 0);
    ASSERT_EQ(write(input_[1], "x\n", 2), 2);
    SetInputDescriptor(input_[0]);
    PrintThinking = false;
    PonderEnabled = false;
    TimeBudgetMs = SHORT_BUDGET_MS;
    ASSERT_TRUE(LoadPosition(INITIAL_POSITION));
    ASSERT_TRUE(PlayGameMove(ParseGameMove("e2e4")));
    EngineState = ENGINE_PLAYING;
  }
  void TearDown() override {
    SetInputDescriptor(0);
    for (int end : input_) close(end);
    PrintThinking = true;
    PonderMove = NO_MOVE;
    EngineState = ENGINE_FORCE;
  }
  int input_[2] = {-1, -1};
};

TEST_F(PonderingTest, GuessIsMadeAndTakenBackExactly) {
  WholePosition game = WholePosition::Take();
  StartPondering(ParseGameMove("e7e5"));
  EXPECT_EQ(EngineState, ENGINE_PONDERING);
  EXPECT_EQ(UndoTop, UndoRecords);
  EXPECT_EQ(Board[E5], BLACK_PAWN);
  EXPECT_EQ(GameBoard[E5], EMPTY);  // the game copy does not see the guess
  TakeBackPonderMove();
  EXPECT_TRUE(WholePosition::Take() == game);
  EXPECT_EQ(PonderMove, NO_MOVE);
  EXPECT_EQ(UndoTop, UndoRecords);
}

TEST_F(PonderingTest, MissPlaysTheMoveOnTheGamePosition) {
  StartPondering(ParseGameMove("e7e5"));
  Move reply = ParseGameMove("d7d5");
  PonderMiss(reply, "d7d5");
  // The game went 1.e4 d5 and the engine answered: the position after d5 is
  // the one reached by playing the moves without any guess.
  ASSERT_EQ(HistoryTop - History, 3);
  u64 keyAfterReply = History[2].key;
  Move answer = History[2].move;
  EXPECT_EQ(GameMoveCount, 4);
  EXPECT_EQ(EngineState, ENGINE_PLAYING);

  ASSERT_TRUE(LoadPosition(INITIAL_POSITION));
  PlayGameMove(ParseGameMove("e2e4"));
  PlayGameMove(reply);
  EXPECT_EQ(HashKey, keyAfterReply);
  EXPECT_EQ(EnPassantSquare, D6);
  EXPECT_EQ(CastleRights, CASTLE_WHITE_ANY | CASTLE_BLACK_ANY);
  EXPECT_NE(answer, NO_MOVE);
}

TEST_F(PonderingTest, IllegalReplyAfterAGuessIsRefusedOnTheGamePosition) {
  WholePosition game = WholePosition::Take();
  StartPondering(ParseGameMove("e7e5"));
  testing::internal::CaptureStdout();
  PonderMiss(ParseGameMove("e7e4"), "e7e4");  // blocked on the game position
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Illegal move: e7e4\n");
  EXPECT_TRUE(WholePosition::Take() == game);
}

TEST_F(PonderingTest, HitKeepsTheClockOfThePonderSearch) {
  Move guess = ParseGameMove("e7e5");
  StartPondering(guess);
  i64 ponderStart = SearchStartClock;
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  PonderHit();
  EXPECT_EQ(SearchStartClock, ponderStart);
  // 1.e4, the guess e5 and the engine's answer are the game's moves.
  EXPECT_EQ(GameMoveCount, 4);
  ASSERT_EQ(HistoryTop - History, 3);
  EXPECT_EQ(History[1].move, guess);
  EXPECT_EQ(Board[E5], BLACK_PAWN);
  EXPECT_EQ(GameSideToMove, SideToMove);
  EXPECT_EQ(EngineState, ENGINE_PLAYING);
}

TEST_F(PonderingTest, ForceTakesTheGuessBack) {
  WholePosition game = WholePosition::Take();
  StartPondering(ParseGameMove("e7e5"));
  RunCommands("force\n");
  EXPECT_EQ(EngineState, ENGINE_FORCE);
  EXPECT_TRUE(WholePosition::Take() == game);
}

TEST_F(PonderingTest, WithoutPonderingTheEngineStaysPlaying) {
  PonderEnabled = false;
  EngineMove();
  EXPECT_EQ(EngineState, ENGINE_PLAYING);
  EXPECT_EQ(PonderMove, NO_MOVE);
  EXPECT_EQ(SideToMove, static_cast<u32>(WHITE));  // black answered
}

}  // namespace
