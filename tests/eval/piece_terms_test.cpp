#include "eval/piece_terms.h"

#include "colour_twins.h"

namespace {

// With 3 to 6 units on the board the pieces read their second tables.
TEST(PieceTerms, PiecesWorkedByHand) {
  struct { const char* fen; int pawns, score, kingAttack; } cases[] = {
      // Knight g6: 320 + 4, no pawns: 0 - 6. Two squares from h8: tropism 5;
      // it attacks h8 itself but none of g8, g7, h7 around the king.
      {"7k/8/6N1/8/8/8/8/K7 b - -", 0, 318, 5},
      // Bishop b2: 325 + 4. Attacks c3..h8, a1, a3, c1 (9), a1 holds its own
      // king: mobility 8, 5 x 8 - 0 - 24 = 16. Six squares from h8: tropism 0,
      // but it attacks g7 beside the king: 1.
      {"7k/8/8/8/8/8/1B6/K7 b - -", 0, 345, 1},
      // Rook a1: 500 - 8. Attacks b1..h1 and a2..a5 (11), own h1 and a5:
      // mobility 9, 2 x 9 - 14 = 4. Behind the passed a5 pawn: 20.
      {"7k/8/8/P7/8/8/8/R6K w - -", 1, 516, 0},
  };
  for (const auto& c : cases) {
    Load(c.fen);
    PieceTally tally = PieceTerms<WHITE>(c.pawns);
    EXPECT_EQ(tally.score, c.score) << c.fen;
    EXPECT_EQ(tally.kingAttack, c.kingAttack) << c.fen;
  }
}

TEST(PieceTerms, RookFiles) {
  ExpectForBothColours({{"7k/8/8/P7/8/8/8/R6K w - -", 20, "behind its passed pawn"},
                        {"7k/8/R7/P7/8/8/8/7K w - -", 0, "in front of the pawn", A6},
                        {"7k/1p6/8/P7/8/8/8/R6K w - -", 0, "b7 stops the pawn from being passed"},
                        {"7k/8/8/8/8/8/8/R6K w - -", 8 + 12, "open file"},
                        {"7k/p7/8/8/8/8/8/R6K w - -", 8, "half-open file"}},
                       []<int C>(int square) { return RookFileBonus<C>(square); });
  // For both colours the pawn that counts is the one nearest rank 1: white's
  // rearmost, black's most advanced. These two positions are twins.
  Load("7k/8/P7/8/R7/P7/8/7K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(A4), 0) << "in front of a3";
  Load("7k/8/p7/r7/8/p7/8/7K b - -");
  EXPECT_EQ(RookFileBonus<BLACK>(A5), 20) << "behind a3, though in front of a6";
}

TEST(PieceTerms, TrappedBishops) {
  ExpectForBothColours({{"4k3/B7/1p6/8/8/8/8/4K3 w - -", 220, "a7 by b6"},
                        {"1B2k3/2p5/8/8/8/8/8/4K3 w - -", 220, "b8 by c7"},
                        {"4k1B1/5p2/8/8/8/8/8/4K3 w - -", 220, "g8 by f7"},
                        {"4k3/7B/6p1/8/8/8/8/4K3 w - -", 220, "h7 by g6"},
                        {"1B2k3/B1p5/1p6/8/8/8/8/4K3 w - -", 220, "two at once: one penalty"},
                        {"4k3/B7/8/8/8/8/8/4K3 w - -", 0, "no pawn beside it"},
                        {"4k3/B7/1P6/8/8/8/8/4K3 w - -", 0, "its own pawn"},
                        {"4k3/B7/2p5/8/8/8/8/4K3 w - -", 0, "the wrong pawn square"},
                        {"4k3/8/1p6/8/8/8/8/B3K3 w - -", 0, "the wrong bishop square"}},
                       []<int C>(int) { return TrappedBishopPenalty<C>(); });
}

TEST(PieceTerms, BishopPairAndRooksOnTheSeventh) {
  ExpectForBothColours({{"4k3/8/8/8/8/8/8/2B1KB2 w - -", 40, "light and dark"},
                        {"4k3/8/8/8/8/B7/8/2B1K3 w - -", 0, "a3 and c1 are both dark"}},
                       []<int C>(int) { return BishopPairBonus<C>(); });
  ExpectForBothColours({{"7k/RR6/8/8/8/8/8/6K1 w - -", 18 + 18 + 48, "two, king on the eighth"},
                        {"8/RR4k1/8/8/8/8/8/6K1 b - -", 18 + 18 + 18, "two, king on the seventh"},
                        {"8/RR6/6k1/8/8/8/8/6K1 w - -", 18 + 18, "two, king further up"},
                        {"7k/R7/8/8/8/8/8/R5K1 w - -", 18, "one"},
                        {"7k/8/R7/8/8/8/8/R5K1 w - -", 0, "none"}},
                       []<int C>(int) { return RooksOnSeventhBonus<C>(); });
}

}  // namespace
