// The engine's moves from the book: which moves are candidates, how the clock
// picks among them, and when the book is asked at all.
#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "book/book_move.h"
#include "book/opening_book.h"
#include "book_test_files.h"
#include "driver/command_loop.h"
#include "driver/xboard.h"
#include "search/think.h"
#include "support/engine_process.h"

namespace {

// The key of the position after moves from the initial position.
u64 KeyAfter(std::initializer_list<const char*> moves) {
  EXPECT_TRUE(LoadPosition(INITIAL_POSITION));
  UndoRecord records[4]{};
  int ply = 0;
  for (const char* text : moves) MakeMove(ParseBoardMove(text), records[ply++]);
  return HashKey;
}

// Books opened by the engine's book object from a folder of the test's own:
// black to move after 1.e4 and 1.d4 (and, wrongly filed there, a position with
// white to move); white to move after 1.Nf3 Nf6.
class BookMoveTest : public testing::Test {
 protected:
  void SetUp() override {
    InitBoardTables();
    WriteBook(BOOK_NAMES[BOOK_BLACK_TO_MOVE],
              {KeyAfter({"e2e4"}), KeyAfter({"d2d4"}), KeyAfter({"g1f3", "d7d5"})});
    WriteBook(BOOK_NAMES[BOOK_WHITE_TO_MOVE], {KeyAfter({"g1f3", "g8f6"})});
    ASSERT_TRUE(EngineBook.OpenBook()) << EngineBook.Message().Text();
    ASSERT_TRUE(LoadPosition(INITIAL_POSITION));
  }
  void TearDown() override {
    for (int side : {BOOK_BLACK_TO_MOVE, BOOK_WHITE_TO_MOVE}) EngineBook.Side(side).Close();
  }
  TempDir dir_;
  WorkingDirectory here_{dir_.Path()};
};

std::string Text(Move move) {
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, move);
  return text;
}

TEST_F(BookMoveTest, ClockPicksAmongTheMovesIntoTheBook) {
  // Tried from the last generated move back: d2d4 is appended before e2e4.
  EXPECT_EQ(Text(BookMoveAt(1000)), "d2d4");
  EXPECT_EQ(Text(BookMoveAt(1001)), "e2e4");
  EXPECT_EQ(Board[E2], WHITE_PAWN);  // every trial move was taken back
  EXPECT_EQ(HistoryTop, History);
}

TEST_F(BookMoveTest, OnlyTheBookOfTheSideThenToMoveCounts) {
  UndoRecord record{};
  MakeMove(ParseBoardMove("g1f3"), record);
  for (i64 clock : {0, 1, 2}) EXPECT_EQ(Text(BookMoveAt(clock)), "g8f6");
  MakeMove(ParseBoardMove("g8f6"), record);
  EXPECT_EQ(BookMoveAt(0), NO_MOVE);  // no white move leads into the book of black to move
}

TEST_F(BookMoveTest, TheBookIsAskedOnlyEarlyInTheGame) {
  PonderEnabled = false;
  PrintThinking = false;
  EngineState = ENGINE_PLAYING;
  GameMoveCount = BOOK_MOVE_LIMIT - 1;
  BestMove = NO_MOVE;
  testing::internal::CaptureStdout();
  EngineMove();
  std::string bookAnswer = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(bookAnswer == "move e2e4\n" || bookAnswer == "move d2d4\n") << bookAnswer;
  EXPECT_EQ(BestMove, NO_MOVE);  // no search ran

  ASSERT_TRUE(LoadPosition(INITIAL_POSITION));
  GameMoveCount = BOOK_MOVE_LIMIT;
  testing::internal::CaptureStdout();
  EngineMove();
  testing::internal::GetCapturedStdout();
  EXPECT_NE(BestMove, NO_MOVE);  // searched
  PrintThinking = true;
  EngineState = ENGINE_FORCE;
}

}  // namespace
