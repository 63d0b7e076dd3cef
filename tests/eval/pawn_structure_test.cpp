#include "eval/pawn_structure.h"

#include "movegen/movegen_probe.h"  // Load

namespace {

// Under 15 units of material the pawns read the late-endgame table
// (rank 7: 72 90 99 104 104 99 90 72; rank 2: 0 0 0 -9 -9 0 0 0).
TEST(PawnStructure, StructuresWorkedByHand) {
  struct { const char* fen; int score; } cases[] = {
      // Passed pawns gain 16 a rank: b7 100 + 90 + 6 x 16 = 286; a6 100 + 45 +
      // 5 x 16 = 225. Each has the other beside it: neither is isolated.
      {"4k3/1P6/P7/8/8/8/8/4K3 w - -", 286 + 225},
      // a7: 100 + 72 + 96, isolated -16, no enemy pawn ahead -6.
      {"4k3/P7/8/8/8/8/8/4K3 w - -", 246},
      // Doubled: d3 100 + 4 - 8 + 2 x 16 passed = 128; d2 100 - 9 - 8, not
      // passed behind d3 = 83; e2 100 - 9 + 16 passed = 107.
      {"4k3/8/8/8/8/3P4/3PP3/4K3 w - -", 128 + 83 + 107},
      // Isolated pays more on a file without enemy pawns: a2 100 + 0 + 16
      // passed - 16 - 6 = 94; d2 100 - 9, blocked by d7, isolated -16 = 75;
      // d7 its mirror, -75.
      {"4k3/3p4/8/8/8/8/P2P4/4K3 w - -", 94 + 75 - 75},
      // Attackers less defenders: d4 100 + 18, attacked by c5 and e5 (3),
      // defended by c3 (1): -16 -> 102. c3 100 + 1. c5 (table at f4 = 14)
      // -114, isolated +16 -> -98. e5 (table at d4 = 18) -118, isolated +16,
      // open file ahead +6 -> -96.
      {"4k3/8/8/2p1p3/3P4/2P5/8/4K3 w - -", 102 + 101 - 98 - 96},
      // One attacker against two defenders costs nothing: e4 100 + 18, d3 100
      // + 4, f3 100 + 1 + 32 passed (d5 is no neighbour); d5 (table at e4 =
      // 18) -118, isolated +16, d3 ahead of it -> -102.
      {"4k3/8/8/3p4/4P3/3P1P2/8/4K3 w - -", 118 + 104 + 133 - 102},
  };
  for (const auto& c : cases) {
    Load(c.fen);
    EXPECT_EQ(PawnStructureScore(), c.score) << c.fen;
  }
}

TEST(PawnStructure, CacheHoldsTheFreshScoreUnderThePawnKey) {
  Load("r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/R3K2R b KQ -");
  const u32 index = PawnHashKey & PAWN_HASH_INDEX_MASK, key = PawnHashKey & PAWN_HASH_KEY_MASK;
  EXPECT_EQ(PawnHashTable[index], 0u) << "loading empties the cache";
  const int fresh = PawnStructureScore();
  EXPECT_EQ(CachedPawnStructureScore(), fresh);
  EXPECT_EQ(PawnHashTable[index], key | static_cast<u32>(fresh + PAWN_SCORE_BIAS));
  EXPECT_EQ(CachedPawnStructureScore(), fresh) << "warm";

  // The key covers the pawns only: the score stored with the opening pawn
  // table stands after the pieces are gone.
  TotalMaterial = 10;
  EXPECT_NE(PawnStructureScore(), fresh) << "the late-endgame table values the pawns differently";
  EXPECT_EQ(CachedPawnStructureScore(), fresh);

  // Entries of other pawns in the same slot, or with an empty score, are misses.
  PawnHashTable[index] = (key ^ PAWN_HASH_KEY_MASK) | static_cast<u32>(PAWN_SCORE_BIAS + 1000);
  EXPECT_EQ(CachedPawnStructureScore(), PawnStructureScore()) << "same slot, other pawns";
  PawnHashTable[index] = key;
  const int endgame = PawnStructureScore();
  EXPECT_EQ(CachedPawnStructureScore(), endgame) << "right key, empty score";
  EXPECT_EQ(PawnHashTable[index], key | static_cast<u32>(endgame + PAWN_SCORE_BIAS)) << "stored again";
  ClearPawnHashTable();
  EXPECT_EQ(PawnHashTable[index], 0u);
}

}  // namespace
