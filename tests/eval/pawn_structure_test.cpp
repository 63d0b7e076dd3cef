#include "eval/pawn_structure.h"

#include "eval/evaluate.h"
#include "eval_fixture.h"

namespace {

using PawnStructure = EvalTest;

// Under 15 units of material the pawns read the late-endgame table
// (rank 7: 72 90 99 104 104 99 90 72; rank 2: 0 0 0 -9 -9 0 0 0).
TEST_F(PawnStructure, PassedPawnsGainSixteenPerRankAdvanced) {
  // b7: 100 + 90 + passed 6 x 16 = 286; a6: 100 + 45 + 5 x 16 = 225.
  // Each has the other beside it, so neither is isolated.
  Load("4k3/1P6/P7/8/8/8/8/4K3 w - -");
  EXPECT_EQ(PawnStructureScore(), 286 + 225);
}

TEST_F(PawnStructure, LonePassedPawnOnTheSeventhIsIsolatedToo) {
  // a7: 100 + 72 + 96, isolated -16, no enemy pawn ahead -6.
  Load("4k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(PawnStructureScore(), 246);
}

TEST_F(PawnStructure, DoubledPawnsPayAndOnlyTheFrontOneIsPassed) {
  // No black pawns: every pawn would be passed.
  // d3: 100 + 4 - 8 doubled + 2 x 16 passed = 128.
  // d2: 100 - 9 - 8 doubled, not passed with d3 in front of it = 83.
  // e2: 100 - 9 + 1 x 16 passed = 107.
  Load("4k3/8/8/8/8/3P4/3PP3/4K3 w - -");
  EXPECT_EQ(PawnStructureScore(), 128 + 83 + 107);
}

TEST_F(PawnStructure, IsolatedPawnsPayMoreOnAFileWithoutEnemyPawns) {
  // a2: 100 + 0 + 16 passed - 16 isolated - 6 (nothing ahead) = 94.
  // d2: 100 - 9, blocked by d7 so not passed, isolated -16 = 75.
  // d7 (black): mirror of d2, -75.
  Load("4k3/3p4/8/8/8/8/P2P4/4K3 w - -");
  EXPECT_EQ(PawnStructureScore(), 94 + 75 - 75);
}

TEST_F(PawnStructure, AttackedPawnsPayForAttackersLessDefenders) {
  // d4: 100 + 18, attacked by c5 and e5 (3), defended by c3 (1): -16 -> 102.
  // c3: 100 + 1 -> 101. c5 (black, table at f4 = 14): -114, isolated +16 -> -98.
  // e5 (black, table at d4 = 18): -118, isolated +16, open file ahead +6 -> -96.
  Load("4k3/8/8/2p1p3/3P4/2P5/8/4K3 w - -");
  EXPECT_EQ(PawnStructureScore(), 102 + 101 - 98 - 96);
}

TEST_F(PawnStructure, OneAttackerAgainstTwoDefendersCostsNothing) {
  // e4: 100 + 18, attacked by d5 (2), defended by d3 and f3 (2): nothing more.
  // d3: 100 + 4. f3: 100 + 1, passed (d5 is not on a neighbouring file) + 32.
  // d5 (black, table at e4 = 18): -118, isolated +16, d3 ahead of it -> -102.
  Load("4k3/8/8/3p4/4P3/3P1P2/8/4K3 w - -");
  EXPECT_EQ(PawnStructureScore(), 118 + 104 + 133 - 102);
}

// The rules treat both colours alike, so a structure and its colour-flipped
// twin score the same for their own side. (The tables read with the flip must
// be symmetric: no pawns on c3/f3 above 70 units, none on rank 5 below 15.)
TEST_F(PawnStructure, ColourFlippedTwinScoresTheSameForTheOtherSide) {
  const char* positions[] = {
      "4k3/1P6/P7/8/8/8/8/4K3 w - -",
      "4k3/8/8/2p1p3/3P4/2P5/8/4K3 w - -",
      "4k3/3p4/8/8/8/8/P2P4/4K3 w - -",
      "rnbqkbnr/pp3ppp/4p3/2pp4/3P4/4PN2/PPP2PPP/RNBQKB1R w KQkq -",
      "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/1BN1B3/PPPQ1PPP/R3K2R b KQ -",
      "8/5pk1/6p1/1p5p/1P3P1P/6P1/6K1/8 w - -",
      "8/2p5/1p1p4/8/1P1P4/8/5k1K/8 w - -",
  };
  for (const char* fen : positions) {
    Load(fen);
    int score = PawnStructureScore();
    Load(ColourFlipped(fen));
    EXPECT_EQ(PawnStructureScore(), -score) << fen;
  }
}

TEST_F(PawnStructure, CacheGivesTheFreshScoreAndKeepsTheKey) {
  Load("r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/R3K2R b KQ -");
  const u32 index = PawnHashKey & PAWN_HASH_INDEX_MASK;
  EXPECT_EQ(PawnHashTable[index], 0u) << "loading empties the cache";
  int fresh = PawnStructureScore();
  EXPECT_EQ(CachedPawnStructureScore(), fresh);
  u32 entry = PawnHashTable[index];
  EXPECT_EQ(entry & PAWN_HASH_KEY_MASK, PawnHashKey & PAWN_HASH_KEY_MASK);
  EXPECT_EQ(static_cast<int>(entry & PAWN_HASH_SCORE_MASK), fresh + PAWN_SCORE_BIAS);
  EXPECT_EQ(CachedPawnStructureScore(), fresh);
}

TEST_F(PawnStructure, StoredScoreIsReusedAtAnotherMaterialLevel) {
  // The key covers the pawns only: the score stored with the opening pawn
  // table stands after the pieces are gone.
  Load("r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/R3K2R b KQ -");
  int stored = CachedPawnStructureScore();
  const u8 openingMaterial = TotalMaterial;
  TotalMaterial = 10;  // as if the pieces had been traded off
  int endgame = PawnStructureScore();
  EXPECT_NE(endgame, stored) << "the late-endgame pawn table values the pawns differently";
  EXPECT_EQ(CachedPawnStructureScore(), stored);
  TotalMaterial = openingMaterial;
}

TEST_F(PawnStructure, EntriesOfOtherKeysOrEmptyScoresAreNotHits) {
  Load("4k3/1P6/P7/8/8/8/8/4K3 w - -");
  const u32 index = PawnHashKey & PAWN_HASH_INDEX_MASK;
  const u32 otherKey = (PawnHashKey ^ PAWN_HASH_KEY_MASK) & PAWN_HASH_KEY_MASK;
  PawnHashTable[index] = otherKey | (PAWN_SCORE_BIAS + 1000);
  EXPECT_EQ(CachedPawnStructureScore(), 511) << "same slot, other pawns";
  PawnHashTable[index] = PawnHashKey & PAWN_HASH_KEY_MASK;  // right key, empty score
  EXPECT_EQ(CachedPawnStructureScore(), 511);
  EXPECT_EQ(PawnHashTable[index] & PAWN_HASH_SCORE_MASK, static_cast<u32>(511 + PAWN_SCORE_BIAS));
}

TEST_F(PawnStructure, ClearingEmptiesEveryEntry) {
  Load("4k3/1P6/P7/8/8/8/8/4K3 w - -");
  CachedPawnStructureScore();
  ClearPawnHashTable();
  for (u32 entry : PawnHashTable) ASSERT_EQ(entry, 0u);
}

}  // namespace
