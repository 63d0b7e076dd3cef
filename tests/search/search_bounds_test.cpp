#include <gtest/gtest.h>

#include "movegen/move_stack.h"
#include "search/alpha_beta.h"
#include "search/quiesce.h"
#include "search/score.h"
#include "search/search_state.h"
#include "search/think.h"
#include "search_fixture.h"
#include "whole_position.h"

namespace {

class SearchLeavesTest : public SearchTest, public testing::WithParamInterface<const char*> {};

TEST_P(SearchLeavesTest, ThePositionAsItFoundIt) {
  Load(GetParam());
  const WholePosition before = WholePosition::Take();
  SearchTo(5);
  EXPECT_EQ(WholePosition::Take(), before);
  EXPECT_EQ(UndoTop, UndoRecords);
  EXPECT_EQ(InCheckCount[BLACK], 0u);
  EXPECT_EQ(InCheckCount[WHITE], 0u);
  EXPECT_NE(BestMove, NO_MOVE);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, SearchLeavesTest,
    testing::Values("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",  // en passant, no key
                    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                    "8/P1k5/8/8/8/8/5Kp1/8 w - -",                       // promotions on both sides
                    "4k3/8/8/8/8/8/4r3/R3K2R w KQ -",                    // in check at the root
                    "8/8/3k4/8/8/8/2R5/3K4 b - -"));                     // few moves, deep lines

// A node as deep as the search ever goes below the root: its null move and
// its captures run down to the last record and no further.
TEST_F(SearchTest, TheDeepestNodesStayInsideTheRecords) {
  Load("r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -");
  const WholePosition before = WholePosition::Take();
  UndoRecords[LAST_FULL_PLY].listEnd = MoveStack;
  UndoTop = &UndoRecords[LAST_FULL_PLY + 1];
  UndoTop->listEnd = nullptr;
  IterationDepth = 8;
  const i16 score = AlphaBeta(6, LAST_FULL_PLY + 1, -MATE_SCORE, MATE_SCORE, 1);
  EXPECT_GT(score, SCORE_ILLEGAL);
  EXPECT_LT(score, SCORE_KING_CAPTURE);
  EXPECT_EQ(UndoTop, &UndoRecords[LAST_FULL_PLY + 1]);
  EXPECT_EQ(WholePosition::Take(), before);
  UndoTop = UndoRecords;
}

}  // namespace
