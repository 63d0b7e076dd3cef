#include "search/quiesce.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "board/make_move.h"
#include "eval/evaluate.h"
#include "line_player.h"
#include "movegen/generate_captures.h"
#include "search/score.h"
#include "search/search_state.h"
#include "search/trans_table.h"
#include "whole_position.h"

namespace {

constexpr i16 FULL = SCORE_KING_CAPTURE;

class QuiesceTest : public testing::Test {
 protected:
  void SetUp() override { InCheckCount[BLACK] = InCheckCount[WHITE] = 0; }
  void TearDown() override { InCheckCount[BLACK] = InCheckCount[WHITE] = 0; }

  // Quiesce at the given depth and ply, with the records of that ply; the
  // position and UndoTop must come back as they were.
  static i16 Quiet(i32 depth, i32 ply) {
    UndoRecords[ply - 1].listEnd = MoveStack;
    UndoTop = &UndoRecords[ply];
    const WholePosition before = WholePosition::Take();
    const i16 score = Quiesce(depth, ply, -FULL, FULL);
    EXPECT_EQ(WholePosition::Take(), before);
    EXPECT_EQ(UndoTop, &UndoRecords[ply]);
    UndoTop = UndoRecords;
    return score;
  }
  static i16 StandPat() { return Evaluate(-FULL, FULL); }
  static const TransEntry& Entry() {
    const TransEntry* entry = ProbeTransTable();
    EXPECT_NE(entry, nullptr);
    static const TransEntry none{};
    return entry ? *entry : none;
  }
  // The best of standing pat and every capture scored by the evaluation of
  // the position it reaches, worked out move by move.
  static i16 StandPatOrEvaluatedCapture() {
    MoveEntry list[MAX_LIST_MOVES];
    MoveEntry* end = GenerateCaptures[SideToMove](list);
    i16 best = StandPat();
    for (MoveEntry* entry = list; entry < end; ++entry) {
      UndoRecord record{};
      SavePositionForUndo(record);
      MakeMove(entry->move, record);
      best = std::max(best, Negate(Evaluate(-FULL, FULL)));
      UnmakeMove(entry->move, record);
    }
    return best;
  }
  LinePlayer line_;
};

TEST_F(QuiesceTest, AQuietPositionIsItsEvaluation) {
  LinePlayer::Load("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  EXPECT_EQ(Quiet(0, 1), StandPat());
  const TransEntry& entry = Entry();
  EXPECT_EQ(EntryMove(entry), NO_MOVE);
  EXPECT_EQ(EntryBound(entry), BOUND_UPPER);  // no move raised it
  EXPECT_EQ(EntryDepth(entry), 0);
  EXPECT_EQ(EntryScore(entry), StandPat());
}

TEST_F(QuiesceTest, TakesAPieceLeftHanging) {
  // Black's queen on d5 stands unprotected in front of the e4 pawn, and
  // nothing can capture back.
  LinePlayer::Load("4k3/8/8/3q4/4P3/8/8/4K3 w - -");
  const i16 expected = StandPatOrEvaluatedCapture();
  EXPECT_GT(expected, StandPat() + 500);
  EXPECT_EQ(Quiet(0, 1), expected);
  const TransEntry& entry = Entry();
  EXPECT_EQ(EntryMove(entry), MakeMoveCode(E4, D5, KIND_CAPTURE));
  EXPECT_EQ(EntryBound(entry), BOUND_EXACT);
}

TEST_F(QuiesceTest, AKingLeftAttackedIsTaken) {
  LinePlayer::Load("4k3/8/8/8/8/8/3r4/4K3 w - -");
  line_.Play(E1, D1);  // illegal: into the rook's file
  EXPECT_EQ(Quiet(0, 1), SCORE_KING_CAPTURE);
  const TransEntry& entry = Entry();
  EXPECT_EQ(EntryMove(entry), MakeMoveCode(D2, D1, KIND_CAPTURE));
  EXPECT_EQ(EntryBound(entry), BOUND_EXACT);
  line_.TakeBack();
}

// Captures for both sides, several of them answered by captures in turn.
constexpr char TACTICAL[] = "r1bqk2r/ppp2ppp/2n2n2/2bpp3/2B1P3/2NP1N2/PPP2PPP/R1BQK2R w KQkq -";

TEST_F(QuiesceTest, AtTheCaptureDepthLimitCapturesAreScoredByTheEvaluation) {
  LinePlayer::Load(TACTICAL);
  EXPECT_EQ(Quiet(QUIESCE_DEPTH_LIMIT, 1), StandPatOrEvaluatedCapture());
  ClearTransTable();
  EXPECT_NE(Quiet(0, 1), StandPatOrEvaluatedCapture());  // the captures are answered
}

TEST_F(QuiesceTest, AtTheLastPlyCapturesAreScoredByTheEvaluation) {
  LinePlayer::Load(TACTICAL);
  EXPECT_EQ(Quiet(0, LAST_SEARCH_PLY), StandPatOrEvaluatedCapture());
}

// Black's king in check by a protected queen: mated.
constexpr char MATED[] = "7k/6Q1/6K1/8/8/8/8/8 b - -";

TEST_F(QuiesceTest, ACheckIsAnsweredOnlyWhenTheSideWasCheckedEarlierOnTheLine) {
  LinePlayer::Load(MATED);
  EXPECT_EQ(Quiet(0, 3), StandPat());

  ClearTransTable();
  InCheckCount[BLACK] = 1;
  EXPECT_EQ(Quiet(0, 3), MatedAtPly(3));
  const TransEntry& entry = Entry();
  EXPECT_EQ(EntryMove(entry), GAME_MATED);
  EXPECT_EQ(EntryBound(entry), BOUND_EXACT);
  EXPECT_EQ(EntryScore(entry), -8097);
}

TEST_F(QuiesceTest, ALastCaptureIntoBareKingsIsADraw) {
  // White's bishop against a rook, but it can take the rook: a lone bishop cannot mate.
  LinePlayer::Load("4k3/8/8/3r4/8/5B2/8/4K3 w - -");
  ASSERT_LT(StandPat(), -100);
  EXPECT_EQ(Quiet(0, 1), DRAW_SCORE);
  EXPECT_EQ(EntryMove(Entry()), MakeMoveCode(F3, D5, KIND_CAPTURE));
}

}  // namespace
