#include "eval/king_safety.h"

#include "eval_fixture.h"

namespace {

using KingSafety = EvalTest;

struct ShelterCase {
  const char* fen;
  int whiteShelter;
};

// Each pawn of the first shelter row is worth 12 on the king's wing and 9 on
// the queen's while the enemy has a queen (6 and 3 without); one pawn of the
// second row adds half as much.
const ShelterCase SHELTER_CASES[] = {
    {"r2qk2r/8/8/8/8/7P/5PP1/R2Q1RK1 w - -", 2 * 12 + 6},
    {"r1b1kb1r/8/8/8/8/7P/5PP1/R2Q1RK1 w - -", 2 * 6 + 3},        // no black queen
    {"r2qk2r/8/8/8/8/7P/5PP1/R2Q2KR w - -", 0},                  // rook on h1: not castled
    {"r2qk2r/8/8/8/8/6PP/5P2/R2Q1R1K w - -", 12 + 6},            // g3 and h3 count once
    {"r2qk2r/8/8/8/8/P7/PPP5/2KR3R w - -", 3 * 9 + 4},
    {"r3k2r/8/8/8/8/P7/PPP5/2KR3R w - -", 3 * 3 + 1},            // no black queen
    {"r2qk2r/8/8/8/8/P7/PPP5/1RK4R w - -", 0},                   // rook on b1
    {"r2qk2r/8/8/8/8/8/PPP2PPP/R2QK2R w - -", 0},                // king in the centre
};

TEST_F(KingSafety, ShelterCountsPawnsInFrontOfTheCastledKing) {
  for (const ShelterCase& c : SHELTER_CASES) {
    Load(c.fen);
    EXPECT_EQ(KingShelter<WHITE>(), c.whiteShelter) << c.fen;
    EXPECT_EQ(KingShelter<BLACK>(), 0) << c.fen;
  }
}

TEST_F(KingSafety, BlackShelterMirrorsWhite) {
  for (const ShelterCase& c : SHELTER_CASES) {
    Load(ColourFlipped(c.fen));
    EXPECT_EQ(KingShelter<BLACK>(), c.whiteShelter) << c.fen;
    EXPECT_EQ(KingShelter<WHITE>(), 0) << c.fen;
  }
}

struct DangerCase {
  const char* fen;
  int whiteDanger;
};

const DangerCase DANGER_CASES[] = {
    // Every file around g1 holds pawns of both colours: only the queen counts.
    {"r2qk2r/5ppp/8/8/8/8/5PPP/R2Q1RK1 w - -", 1},
    // No pawn anywhere: own file 2 + 2, h-file 3 + 2, f-file 3 + 2, queen 1.
    {"r2qk2r/8/8/8/8/8/8/R2Q1RK1 w - -", 15},
    // h1 has no file to its right. Own file: no white pawn 2; g-file: no black pawn 1; queen 1.
    {"r2qk2r/7p/8/8/8/8/6P1/R2Q1R1K w - -", 4},
    // a1 has no file to its left. b-file: no white pawn 2, no black pawn 1.
    {"r3k2r/p7/8/8/8/8/P7/K6R w - -", 3},
    // The file to the right is read first: f-file 2 + 1 = 3, then the d-file
    // without white pawns adds 2 (3 is below 4); the other order would give 6.
    {"r3k2r/3pp3/8/8/8/8/4P3/R3K2R w - -", 5},
};

TEST_F(KingSafety, DangerIndexCountsOpenFilesAroundTheKing) {
  for (const DangerCase& c : DANGER_CASES) {
    Load(c.fen);
    EXPECT_EQ(DangerIndex<WHITE>(), c.whiteDanger) << c.fen;
    Load(ColourFlipped(c.fen));
    EXPECT_EQ(DangerIndex<BLACK>(), c.whiteDanger) << c.fen;
  }
}

TEST_F(KingSafety, AttackWeightSaturatesAndIsScaledByTheDangerIndex) {
  Load("3rq1k1/8/8/8/8/8/8/6K1 w - -");  // black has 14 units of pieces
  EXPECT_EQ(KingDangerPenalty<WHITE>(0, 5), 15);
  EXPECT_EQ(KingDangerPenalty<WHITE>(4, 47), 2 * 172);
  EXPECT_EQ(KingDangerPenalty<WHITE>(4, 48), 2 * 165);  // the table dips at 48
  EXPECT_EQ(KingDangerPenalty<WHITE>(15, 127), 4 * 200);
  EXPECT_EQ(KingDangerPenalty<WHITE>(15, 128), 4 * 200);
  EXPECT_EQ(KingDangerPenalty<WHITE>(1, 1000), 200);
  EXPECT_EQ(KingDangerPenalty<BLACK>(15, 100), 0) << "white has no pieces to attack with";
}

TEST_F(KingSafety, DangerNeedsMoreThanThirteenUnitsOfEnemyPieces) {
  Load("2rnr1k1/8/8/8/8/8/8/6K1 w - -");  // 13 units
  EXPECT_EQ(KingDangerPenalty<WHITE>(4, 20), 0);
  Load("2rbr1k1/8/8/8/8/8/8/6K1 w - -");  // 13 units of another make-up
  EXPECT_EQ(KingDangerPenalty<WHITE>(4, 20), 0);
  Load("1rrnr1k1/8/8/8/8/8/8/6K1 w - -");  // 18 units
  EXPECT_EQ(KingDangerPenalty<WHITE>(4, 20), 2 * 90);
}

}  // namespace
