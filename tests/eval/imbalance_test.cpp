#include "eval/imbalance.h"

#include "movegen/movegen_probe.h"  // Load, MirroredFen

namespace {

struct ImbalanceCase {
  const char* fen;
  int minorBalance, majorBalance;  // white's minor / major pieces less black's
  int score;
};

const ImbalanceCase CASES[] = {
    // Two majors down.
    {"r3k2r/8/8/8/8/8/8/1NNBK3 w - -", 3, -2, 130}, {"r3k2r/8/8/8/8/8/8/1N1BK3 w - -", 2, -2, 0},
    // One major down.
    {"4k2r/8/8/8/8/8/8/1N1BK3 w - -", 2, -1, 100}, {"4k2r/8/8/8/8/8/8/1N2K3 w - -", 1, -1, -60},
    {"r3k2r/8/8/8/8/8/8/1N2KQ2 w - -", 1, -1, -60 + 60},  // white's queen and knight
    {"r1b1k2r/8/8/8/8/8/8/1NNBKQ2 w - -", 2, -1, 100 + 60},
    // Majors even, minor pieces not.
    {"4k3/pppp4/8/8/8/8/8/1NB1K3 w - -", 2, 0, 100}, {"3qk3/8/8/8/8/8/8/1N1QK3 w - -", 1, 0, 100},
    {"1n1qk3/8/8/8/8/8/8/3QK3 w - -", -1, 0, -100},
    {"4k2r/8/8/8/8/8/8/1N1QK3 w - -", 1, 0, 0},  // only one side has a queen
    // One major up.
    {"1nb1k3/8/8/8/8/8/8/4K2R w - -", -2, 1, -100}, {"1n2k3/8/8/8/8/8/8/4K2R w - -", -1, 1, 60},
    {"3nkq2/8/8/8/8/8/8/R3K2R w - -", -1, 1, 60 - 60},  // black's queen and knight
    // Two majors up.
    {"1nnbk3/8/8/8/8/8/8/R3K2R w - -", -3, 2, -130}, {"1nn1k3/8/8/8/8/8/8/R3K2R w - -", -2, 2, 0},
    {"1n2k3/8/8/8/8/8/8/RR2K2R w - -", -1, 3, 0},
    // Minor pieces even.
    {"4k2r/8/8/8/8/8/8/3QK3 w - -", 0, 0, 60}, {"3qk3/8/8/8/8/8/8/4K2R w - -", 0, 0, -60},
    {"3qk3/8/8/8/8/8/8/3QK3 w - -", 0, 0, 0}, {"4k3/pppp4/8/8/8/8/8/4K2R w - -", 0, 1, 100},
    {"4k2r/8/8/8/8/8/8/4K3 w - -", 0, -1, -100},
    {"4k2r/8/8/8/8/8/8/R2QK3 w - -", 0, 1, 60},   // queen and rook: 14 units
    {"r3k2r/8/8/8/8/8/8/3QK3 w - -", 0, -1, 0},   // a bare queen: 9 units
    {"r2qk2r/8/8/8/8/8/8/4K2R w - -", 0, -1, -60},
    // Neither side has 5 units of pieces.
    {"4k3/pppp4/8/8/8/8/8/1N2K3 w - -", 1, 0, 0},
};

// Each row for white, and with the colours exchanged for black.
TEST(Imbalance, EachRowOfTheTableForEitherColour) {
  for (const ImbalanceCase& c : CASES) {
    Load(c.fen);
    EXPECT_EQ(MaterialImbalance(c.minorBalance, c.majorBalance), c.score) << c.fen;
    Load(MirroredFen(c.fen));
    EXPECT_EQ(MaterialImbalance(-c.minorBalance, -c.majorBalance), -c.score) << MirroredFen(c.fen);
  }
}

}  // namespace
