#include "eval/king_safety.h"

#include "colour_twins.h"

namespace {

// Each pawn of the first shelter row is worth 12 on the king's wing and 9 on
// the queen's while the enemy has a queen (6 and 3 without); one pawn of the
// second row adds half as much.
TEST(KingSafety, ShelterCountsPawnsInFrontOfTheCastledKing) {
  ExpectForBothColours({{"r2qk2r/8/8/8/8/7P/5PP1/R2Q1RK1 w - -", 2 * 12 + 6, "king's wing"},
                        {"r1b1kb1r/8/8/8/8/7P/5PP1/R2Q1RK1 w - -", 2 * 6 + 3, "no enemy queen"},
                        {"r2qk2r/8/8/8/8/7P/5PP1/R2Q2KR w - -", 0, "rook on h1: not castled"},
                        {"r2qk2r/8/8/8/8/6PP/5P2/R2Q1R1K w - -", 12 + 6, "g3 and h3 count once"},
                        {"r2qk2r/8/8/8/8/P7/PPP5/2KR3R w - -", 3 * 9 + 4, "queen's wing"},
                        {"r3k2r/8/8/8/8/P7/PPP5/2KR3R w - -", 3 * 3 + 1, "queen's wing, no enemy queen"},
                        {"r2qk2r/8/8/8/8/P7/PPP5/1RK4R w - -", 0, "rook on b1"},
                        {"r2qk2r/8/8/8/8/8/PPP2PPP/R2QK2R w - -", 0, "king in the centre"}},
                       []<int C>(int) { return KingShelter<C>(); });
}

TEST(KingSafety, DangerIndexCountsOpenFilesAroundTheKing) {
  ExpectForBothColours(
      {{"r2qk2r/5ppp/8/8/8/8/5PPP/R2Q1RK1 w - -", 1, "pawns of both colours on every file: only the queen"},
       {"r2qk2r/8/8/8/8/8/8/R2Q1RK1 w - -", 15, "no pawns: own file 2 + 2, h 3 + 2, f 3 + 2, queen 1"},
       {"r2qk2r/7p/8/8/8/8/6P1/R2Q1R1K w - -", 4, "h1: own file 2, g-file 1, queen 1"},
       {"r3k2r/p7/8/8/8/8/P7/K6R w - -", 3, "a1: b-file without white 2, without black 1"},
       // f-file 2 + 1 = 3, then the d-file without white pawns adds 2 (3 is
       // below 4); the other order would give 6.
       {"r3k2r/3pp3/8/8/8/8/4P3/R3K2R w - -", 5, "the file to the right is read first"}},
      []<int C>(int) { return DangerIndex<C>(); });
}

TEST(KingSafety, DangerPenaltyNeedsFourteenUnitsOfEnemyPiecesAndSaturates) {
  const char* fourteen = "3rq1k1/8/8/8/8/8/8/6K1 w - -";
  struct {
    const char* fen;
    int dangerIndex, attackWeight, penalty;
  } cases[] = {{fourteen, 0, 5, 15},          {fourteen, 4, 47, 2 * 172},  {fourteen, 4, 48, 2 * 165} /* a dip */,
               {fourteen, 15, 127, 4 * 200},  {fourteen, 15, 128, 4 * 200}, {fourteen, 1, 1000, 200},
               {"2rnr1k1/8/8/8/8/8/8/6K1 w - -", 4, 20, 0} /* 13 units */,
               {"2rbr1k1/8/8/8/8/8/8/6K1 w - -", 4, 20, 0} /* 13 units of another make-up */,
               {"1rrnr1k1/8/8/8/8/8/8/6K1 w - -", 4, 20, 2 * 90} /* 18 units */};
  for (const auto& c : cases) {
    Load(c.fen);
    EXPECT_EQ(KingDangerPenalty<WHITE>(c.dangerIndex, c.attackWeight), c.penalty) << c.fen << " " << c.attackWeight;
  }
  EXPECT_EQ(KingDangerPenalty<BLACK>(15, 100), 0) << "white has no pieces to attack with";
}

}  // namespace
