#include "search/pv_text.h"

#include <gtest/gtest.h>

#include <string>

#include "board/make_move.h"
#include "line_player.h"
#include "search/trans_table.h"
#include "whole_position.h"

namespace {

constexpr char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

class PvTextTest : public testing::Test {
 protected:
  void SetUp() override {
    LinePlayer::Load(START_FEN);
    UndoTop = UndoRecords;
  }
  // The line for plies moves; the position, its history and UndoTop must come back as they were.
  std::string Line(int plies) {
    const WholePosition before = WholePosition::Take();
    UndoRecord* const top = UndoTop;
    char text[PV_TEXT_SIZE];
    PvToText(text, plies);
    EXPECT_EQ(WholePosition::Take(), before);
    EXPECT_EQ(UndoTop, top);
    return text;
  }
  // Stores move for the position reached by the moves played so far.
  void Remember(int from, int to) {
    StoreTransTable(MakeMoveCode(from, to, KIND_QUIET), 0, 4, BOUND_EXACT);
    line_.Play(from, to);
  }
  // Both knights out and back, each position remembering the move played from it.
  void RememberKnightsCircle() {
    Remember(G1, F3);
    Remember(G8, F6);
    Remember(F3, G1);
    Remember(F6, G8);
    for (int i = 0; i < 4; ++i) line_.TakeBack();
  }
  LinePlayer line_;
};

TEST_F(PvTextTest, FollowsTheTableFromPositionToPosition) {
  RememberKnightsCircle();
  EXPECT_EQ(Line(3), "g1f3 g8f6 f3g1 ");
  EXPECT_EQ(Line(0), "");
}

TEST_F(PvTextTest, ShowsTwelveMovesAtMost) {
  RememberKnightsCircle();  // a circle: the table knows a line of any length
  const std::string twelve = "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 ";
  EXPECT_EQ(Line(12), twelve);
  EXPECT_EQ(Line(40), twelve);
}

TEST_F(PvTextTest, NeverPlaysPastTheLastRecord) {
  RememberKnightsCircle();
  UndoRecord* const top = UndoTop;
  UndoTop = UndoRecords + PLY_RECORDS - 3;
  EXPECT_EQ(Line(12), "g1f3 g8f6 f3g1 ");
  UndoTop = top;
}

TEST_F(PvTextTest, EndsWhereTheTableKnowsNothing) {
  Remember(E2, E4);
  line_.TakeBack();
  EXPECT_EQ(Line(12), "e2e4 NOE ");
}

TEST_F(PvTextTest, ResultCodesEndTheLineWithTheirText) {
  struct Case {
    Move stored;
    const char* text;
  };
  const Case cases[] = {
      {GAME_MATED, "# "},
      {GAME_STALEMATE, "1/2 - 1/2 (stalemate)"},
      {GAME_REPETITION, "1/2 - 1/2 (repetition)"},
      {MOVE_NULL, "NULL"},
      {NO_MOVE, "ERROR: 0"},          // a quiescence entry without a move
      {GAME_FIFTY_MOVES, "ERROR: 3186"},
  };
  for (const Case& c : cases) {
    ClearTransTable();
    Remember(E2, E4);
    StoreTransTable(c.stored, 0, 4, BOUND_EXACT);  // for the position after e2e4
    line_.TakeBack();
    EXPECT_EQ(Line(12), std::string("e2e4 ") + c.text);
  }
}

TEST_F(PvTextTest, AMoveThatDoesNotFitThePositionIsNotPlayed) {
  const Move misfits[] = {
      MakeMoveCode(E2, E5, KIND_QUIET),    // no pawn moves three squares
      MakeMoveCode(E2, E3, KIND_CAPTURE),  // nothing to capture
      MakeMoveCode(E7, E5, KIND_QUIET),    // the other side's move
      MakeMoveCode(E1, G1, KIND_WHITE_SHORT_CASTLE),  // the way is blocked
  };
  for (Move misfit : misfits) {
    ClearTransTable();
    StoreTransTable(misfit, 0, 3, BOUND_EXACT);
    EXPECT_EQ(Line(12), "NOE ");
  }
}

TEST_F(PvTextTest, AMoveThatLeavesTheKingInCheckIsNotPlayed) {
  LinePlayer::Load("4k3/8/8/8/8/8/3r4/4K3 w - -");
  StoreTransTable(MakeMoveCode(E1, D1, KIND_QUIET), 0, 3, BOUND_EXACT);  // into the rook's file
  EXPECT_EQ(Line(12), "NOE ");
  ClearTransTable();
  StoreTransTable(MakeMoveCode(E1, D2, KIND_CAPTURE), 0, 3, BOUND_EXACT);
  EXPECT_EQ(Line(1), "e1d2 ");
}

}  // namespace
