// Finding the from-square of a piece move named by piece and destination.
#include <gtest/gtest.h>

#include "board/resolve_move.h"
#include "board_probe.h"

namespace {

class ResolveMoveTest : public BoardTest {};

constexpr u64 ALL = ~u64{0};

TEST_F(ResolveMoveTest, TwoKnightsAreAmbiguousUnlessOneIsPinned) {
  Load("4k3/8/8/8/8/8/3N4/4K1N1 w - -");
  EXPECT_EQ(ResolvePieceMove("Nf3", F3, ALL), NO_MOVE);
  EXPECT_EQ(ResolvePieceMove("Nf3", F3, Squares({G1})), MakeMoveCode(G1, F3, KIND_QUIET));
  // The d2 knight stands between its king and a bishop.
  Load("4k3/8/8/b7/8/8/3N4/4K1N1 w - -");
  EXPECT_EQ(ResolvePieceMove("Nf3", F3, ALL), MakeMoveCode(G1, F3, KIND_QUIET));
}

TEST_F(ResolveMoveTest, OneCandidateIsTakenWithoutATest) {
  Load("4k3/8/8/b7/8/8/3N4/4K3 w - -");
  EXPECT_EQ(ResolvePieceMove("Nf3", F3, ALL), MakeMoveCode(D2, F3, KIND_QUIET));  // pinned, yet returned
  EXPECT_EQ(ResolvePieceMove("Nf3", F3, Squares({G1})), NO_MOVE);
  EXPECT_EQ(ResolvePieceMove("Ne4", E4, ALL), MakeMoveCode(D2, E4, KIND_QUIET));
}

TEST_F(ResolveMoveTest, SlidersNeedAnOpenLine) {
  Load("4k3/8/8/8/8/8/R2P3R/4K3 w - -");
  EXPECT_EQ(ResolvePieceMove("Re2", E2, ALL), MakeMoveCode(H2, E2, KIND_QUIET));  // a2 is blocked by d2
  Load("r3k3/8/8/8/8/8/R6R/4K3 w - -");
  EXPECT_EQ(ResolvePieceMove("Re2", E2, ALL), NO_MOVE);
  EXPECT_EQ(ResolvePieceMove("Ra8", A8, ALL), MakeMoveCode(A2, A8, KIND_CAPTURE));
  Load("4k3/8/8/8/8/2B1B3/8/3QK3 w - -");
  EXPECT_EQ(ResolvePieceMove("Bd4", D4, ALL), NO_MOVE);
  EXPECT_EQ(ResolvePieceMove("Bd4", D4, Squares({C3, C2})), MakeMoveCode(C3, D4, KIND_QUIET));
  EXPECT_EQ(ResolvePieceMove("Qd4", D4, ALL), MakeMoveCode(D1, D4, KIND_QUIET));
}

TEST_F(ResolveMoveTest, TheKingIsWhereItStands) {
  Load("4k3/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(ResolvePieceMove("Kg2", G2, ALL), MakeMoveCode(E1, G2, KIND_QUIET));
  EXPECT_EQ(ResolvePieceMove("Kg2", G2, 0), MakeMoveCode(E1, G2, KIND_QUIET));
}

TEST_F(ResolveMoveTest, PawnCapturesByFile) {
  Load("4k3/8/8/2pPp3/8/8/8/4K3 w - c6");
  EXPECT_EQ(ResolvePieceMove("dc6", C6, ALL), MakeMoveCode(D5, C6, KIND_EN_PASSANT));
  EXPECT_EQ(ResolvePieceMove("ee6", E6, ALL), NO_MOVE);
  Load("4k3/8/8/8/8/2p1p3/3P4/4K3 w - -");
  EXPECT_EQ(ResolvePieceMove("dc3", C3, ALL), MakeMoveCode(D2, C3, KIND_CAPTURE));
  EXPECT_EQ(ResolvePieceMove("de3", E3, 0), MakeMoveCode(D2, E3, KIND_CAPTURE));  // no filter for pawns
  EXPECT_EQ(ResolvePieceMove("cd3", D3, ALL), NO_MOVE);
  Load("4k3/3p4/2P1P3/8/8/8/8/4K3 b - -");
  EXPECT_EQ(ResolvePieceMove("dc6", C6, ALL), MakeMoveCode(D7, C6, KIND_CAPTURE));
}

TEST_F(ResolveMoveTest, OtherTextIsNoMove) {
  Load("4k3/8/8/8/8/8/8/4KN2 w - -");
  for (const char* text : {"Pe4", "xe4", "ie4", "", "Ze4"}) EXPECT_EQ(ResolvePieceMove(text, E4, ALL), NO_MOVE);
  EXPECT_EQ(ResolvePieceMove("Nd2", -1, ALL), NO_MOVE);
  EXPECT_EQ(ResolvePieceMove("Nd2", 64, ALL), NO_MOVE);
}

}  // namespace
