#include "eval/piece_terms.h"

#include "eval_fixture.h"

namespace {

using PieceTerms_ = EvalTest;

// With 3 to 6 units on the board the pieces read their second tables.
TEST_F(PieceTerms_, KnightWorkedByHand) {
  // g6: 320 + 4, no pawns: 0 - 6. Two squares from h8: tropism 5; it attacks
  // h8 itself but none of g8, g7, h7 around the king.
  Load("7k/8/6N1/8/8/8/8/K7 b - -");  // black in check
  PieceTally tally = PieceTerms<WHITE>(0);
  EXPECT_EQ(tally.score, 318);
  EXPECT_EQ(tally.kingAttack, 5);
}

TEST_F(PieceTerms_, BishopWorkedByHand) {
  // b2: 325 + 4. Attacks c3..h8, a1, a3, c1 (9 squares), a1 holds its own
  // king: mobility 8, 5 x 8 - 0 - 24 = 16. Six squares from h8: tropism 0,
  // but it attacks g7 beside the king: 1.
  Load("7k/8/8/8/8/8/1B6/K7 b - -");  // black in check
  PieceTally tally = PieceTerms<WHITE>(0);
  EXPECT_EQ(tally.score, 345);
  EXPECT_EQ(tally.kingAttack, 1);
}

TEST_F(PieceTerms_, RookBehindItsPassedPawnWorkedByHand) {
  // a1: 500 - 8. Attacks b1..h1 and a2..a5 (11), own h1 and a5: mobility 9,
  // 2 x 9 - 14 = 4. Behind the passed a5 pawn: 20.
  Load("7k/8/8/P7/8/8/8/R6K w - -");
  PieceTally tally = PieceTerms<WHITE>(1);
  EXPECT_EQ(tally.score, 516);
  EXPECT_EQ(tally.kingAttack, 0);
}

TEST_F(PieceTerms_, RookFiles) {
  Load("7k/8/8/P7/8/8/8/R6K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A1), 20);
  Load("7k/8/R7/P7/8/8/8/7K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A6), 0) << "in front of the pawn";
  Load("7k/1p6/8/P7/8/8/8/R6K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A1), 0) << "b7 stops the pawn from being passed";
  Load("7k/8/8/8/8/8/8/R6K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A1), 8 + 12) << "open file";
  Load("7k/p7/8/8/8/8/8/R6K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A1), 8) << "half-open file";
  Load(ColourFlipped("7k/8/8/P7/8/8/8/R6K w - -"));
  EXPECT_EQ(RookFileBonus<BLACK>(A8), 20);
  Load(ColourFlipped("7k/p7/8/8/8/8/8/R6K w - -"));
  EXPECT_EQ(RookFileBonus<BLACK>(A8), 8);
}

// For both colours the pawn that counts is the one nearest rank 1: white's
// rearmost, black's most advanced.
TEST_F(PieceTerms_, RookFileReadsThePawnNearestRankOne) {
  Load("7k/8/P7/8/R7/P7/8/7K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A4), 0) << "in front of a3";
  Load("7k/8/p7/r7/8/p7/8/7K b - -");
  EXPECT_EQ(RookFileBonus<BLACK>(A5), 20) << "behind a3, though in front of a6";
}

TEST_F(PieceTerms_, TrappedBishopPatterns) {
  const char* traps[] = {
      "4k3/B7/1p6/8/8/8/8/4K3 w - -",
      "1B2k3/2p5/8/8/8/8/8/4K3 w - -",
      "4k1B1/5p2/8/8/8/8/8/4K3 w - -",
      "4k3/7B/6p1/8/8/8/8/4K3 w - -",
      "1B2k3/B1p5/1p6/8/8/8/8/4K3 w - -",  // two at once: one penalty
  };
  for (const char* fen : traps) {
    Load(fen);
    EXPECT_EQ(TrappedBishopPenalty<WHITE>(), 220) << fen;
    Load(ColourFlipped(fen));
    EXPECT_EQ(TrappedBishopPenalty<BLACK>(), 220) << fen;
    EXPECT_EQ(TrappedBishopPenalty<WHITE>(), 0) << fen;
  }
  const char* free[] = {
      "4k3/B7/8/8/8/8/8/4K3 w - -",         // no pawn beside it
      "4k3/B7/1P6/8/8/8/8/4K3 w - -",       // its own pawn
      "4k3/B7/2p5/8/8/8/8/4K3 w - -",       // the wrong square
      "4k3/8/1p6/8/8/8/8/B3K3 w - -",       // the wrong bishop square
  };
  for (const char* fen : free) {
    Load(fen);
    EXPECT_EQ(TrappedBishopPenalty<WHITE>(), 0) << fen;
  }
}

TEST_F(PieceTerms_, BishopPairNeedsBothSquareColours) {
  Load("4k3/8/8/8/8/8/8/2B1KB2 w - -");
  EXPECT_EQ(BishopPairBonus<WHITE>(), 40);
  Load("4k3/8/8/8/8/B7/8/2B1K3 w - -");  // a3 and c1 are both dark
  EXPECT_EQ(BishopPairBonus<WHITE>(), 0);
  Load("2b1kb2/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(BishopPairBonus<BLACK>(), 40);
  EXPECT_EQ(BishopPairBonus<WHITE>(), 0);
}

TEST_F(PieceTerms_, RooksOnTheSeventh) {
  struct {
    const char* fen;
    int bonus;
  } cases[] = {
      {"7k/RR6/8/8/8/8/8/6K1 w - -", 18 + 18 + 48},  // king on the eighth
      {"8/RR4k1/8/8/8/8/8/6K1 b - -", 18 + 18 + 18},  // king on the seventh, in check
      {"8/RR6/6k1/8/8/8/8/6K1 w - -", 18 + 18},
      {"7k/R7/8/8/8/8/8/R5K1 w - -", 18},
      {"7k/8/R7/8/8/8/8/R5K1 w - -", 0},
  };
  for (const auto& c : cases) {
    Load(c.fen);
    EXPECT_EQ(RooksOnSeventhBonus<WHITE>(), c.bonus) << c.fen;
    Load(ColourFlipped(c.fen));
    EXPECT_EQ(RooksOnSeventhBonus<BLACK>(), c.bonus) << c.fen;
  }
}

TEST_F(PieceTerms_, KingDistanceIsTheLargerOfRankAndFileSteps) {
  EXPECT_EQ(KingDistance(A1, H8), 7);
  EXPECT_EQ(KingDistance(G6, H8), 2);
  EXPECT_EQ(KingDistance(D4, G1), 3);
  EXPECT_EQ(KingDistance(E4, E4), 0);
  EXPECT_EQ(KingDistance(B2, A8), 6);
}

}  // namespace
