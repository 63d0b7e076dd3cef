// Each rule of the evaluation on positions worked by hand, for white and, in the colour-flipped twin, for black.
#include "eval/imbalance.h"
#include "eval/king_safety.h"
#include "eval/pawn_structure.h"
#include "eval/piece_terms.h"
#include "movegen/movegen_probe.h"  // Load, MirroredFen

// The value for white here, for black in the twin; the square of the piece the rule looks at, if any.
struct RuleCase { const char* fen; int expected; const char* why; int square = A1; };

// rule is a lambda templated on the colour: [&pos]<int C>(int square) { ... }.
template <typename Rule>
static void ExpectForBothColours(Position& pos, const std::vector<RuleCase>& cases, Rule rule) {
  for (const RuleCase& c : cases) {
    Load(pos, c.fen);
    EXPECT_EQ(rule.template operator()<WHITE>(c.square), c.expected) << c.why << ": " << c.fen;
    Load(pos, MirroredFen(c.fen));
    EXPECT_EQ(rule.template operator()<BLACK>(c.square ^ 56), c.expected) << c.why << ", colours exchanged: " << c.fen;
  }
}

// Under 15 units of material the pawns read the late-endgame table
// (rank 7: 72 90 99 104 104 99 90 72; rank 2: 0 0 0 -9 -9 0 0 0).
TEST(PawnStructure, StructuresWorkedByHand) {
  Position pos;
  struct { const char* fen; int score; } cases[] = {
      // Passed pawns gain 16 a rank: b7 100 + 90 + 6 x 16 = 286; a6 100 + 45 + 5 x 16 = 225. Each has the other beside
      // it: neither is isolated.
      {"4k3/1P6/P7/8/8/8/8/4K3 w - -", 286 + 225},
      // a7: 100 + 72 + 96, isolated -16, no enemy pawn ahead -6.
      {"4k3/P7/8/8/8/8/8/4K3 w - -", 246},
      // Doubled: d3 100 + 4 - 8 + 2 x 16 passed = 128; d2 100 - 9 - 8, not passed behind d3 = 83; e2 100 - 9 + 16
      // passed = 107.
      {"4k3/8/8/8/8/3P4/3PP3/4K3 w - -", 128 + 83 + 107},
      // Isolated pays more on a file without enemy pawns: a2 100 + 0 + 16 passed - 16 - 6 = 94; d2 100 - 9, blocked by
      // d7, isolated -16 = 75; d7 its mirror, -75.
      {"4k3/3p4/8/8/8/8/P2P4/4K3 w - -", 94 + 75 - 75},
      // Attackers less defenders: d4 100 + 18, attacked by c5 and e5 (3), defended by c3 (1): -16 -> 102. c3 100 + 1.
      // c5 (table at f4 = 14) -114, isolated +16 -> -98. e5 (table at d4 = 18) -118, isolated +16, open file ahead
      // +6 -> -96.
      {"4k3/8/8/2p1p3/3P4/2P5/8/4K3 w - -", 102 + 101 - 98 - 96},
      // One attacker against two defenders costs nothing: e4 100 + 18, d3 100 + 4, f3 100 + 1 + 32 passed (d5 is no
      // neighbour); d5 (table at e4 = 18) -118, isolated +16, d3 ahead of it -> -102.
      {"4k3/8/8/3p4/4P3/3P1P2/8/4K3 w - -", 118 + 104 + 133 - 102},
  };
  for (const auto& c : cases) {
    Load(pos, c.fen);
    EXPECT_EQ(PawnStructureScore(pos), c.score) << c.fen;
  }
}

TEST(PawnStructure, CacheHoldsTheFreshScoreUnderThePawnKey) {
  Position pos;
  Load(pos, "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/R3K2R b KQ -");
  const u32 index = pos.PawnHashKey & PAWN_HASH_INDEX_MASK, key = pos.PawnHashKey & PAWN_HASH_KEY_MASK;
  EXPECT_EQ(PawnHashTable[index], 0u) << "loading empties the cache";
  const int fresh = PawnStructureScore(pos);
  EXPECT_EQ(CachedPawnStructureScore(pos), fresh);
  EXPECT_EQ(PawnHashTable[index], key | static_cast<u32>(fresh + PAWN_SCORE_BIAS));
  EXPECT_EQ(CachedPawnStructureScore(pos), fresh) << "warm";
  // The key covers the pawns only: the score stored with the opening pawn table stands after the pieces are gone.
  pos.TotalMaterial = 10;
  EXPECT_NE(PawnStructureScore(pos), fresh) << "the late-endgame table values the pawns differently";
  EXPECT_EQ(CachedPawnStructureScore(pos), fresh);
  // Entries of other pawns in the same slot, or with an empty score, are misses.
  PawnHashTable[index] = (key ^ PAWN_HASH_KEY_MASK) | static_cast<u32>(PAWN_SCORE_BIAS + 1000);
  EXPECT_EQ(CachedPawnStructureScore(pos), PawnStructureScore(pos)) << "same slot, other pawns";
  PawnHashTable[index] = key;
  const int endgame = PawnStructureScore(pos);
  EXPECT_EQ(CachedPawnStructureScore(pos), endgame) << "right key, empty score";
  EXPECT_EQ(PawnHashTable[index], key | static_cast<u32>(endgame + PAWN_SCORE_BIAS)) << "stored again";
  ClearPawnHashTable();
  EXPECT_EQ(PawnHashTable[index], 0u);
}

// Each pawn of the first shelter row is worth 12 on the king's wing and 9 on the queen's while the enemy has a queen
// (6 and 3 without); one pawn of the second row adds half as much.
TEST(KingSafety, ShelterCountsPawnsInFrontOfTheCastledKing) {
  Position pos;
  ExpectForBothColours(pos,
                       {{"r2qk2r/8/8/8/8/7P/5PP1/R2Q1RK1 w - -", 2 * 12 + 6, "king's wing"},
                        {"r1b1kb1r/8/8/8/8/7P/5PP1/R2Q1RK1 w - -", 2 * 6 + 3, "no enemy queen"},
                        {"r2qk2r/8/8/8/8/7P/5PP1/R2Q2KR w - -", 0, "rook on h1: not castled"},
                        {"r2qk2r/8/8/8/8/6PP/5P2/R2Q1R1K w - -", 12 + 6, "g3 and h3 count once"},
                        {"r2qk2r/8/8/8/8/P7/PPP5/2KR3R w - -", 3 * 9 + 4, "queen's wing"},
                        {"r3k2r/8/8/8/8/P7/PPP5/2KR3R w - -", 3 * 3 + 1, "queen's wing, no enemy queen"},
                        {"r2qk2r/8/8/8/8/P7/PPP5/1RK4R w - -", 0, "rook on b1"},
                        {"r2qk2r/8/8/8/8/8/PPP2PPP/R2QK2R w - -", 0, "king in the centre"}},
                       [&pos]<int C>(int) { return KingShelter<C>(pos); });
}

TEST(KingSafety, DangerIndexCountsOpenFilesAroundTheKing) {
  Position pos;
  ExpectForBothColours(
      pos,
      {{"r2qk2r/5ppp/8/8/8/8/5PPP/R2Q1RK1 w - -", 1, "pawns of both colours on every file: only the queen"},
       {"r2qk2r/8/8/8/8/8/8/R2Q1RK1 w - -", 15, "no pawns: own file 2 + 2, h 3 + 2, f 3 + 2, queen 1"},
       {"r2qk2r/7p/8/8/8/8/6P1/R2Q1R1K w - -", 4, "h1: own file 2, g-file 1, queen 1"},
       {"r3k2r/p7/8/8/8/8/P7/K6R w - -", 3, "a1: b-file without white 2, without black 1"},
       // f-file 2 + 1 = 3, then the d-file without white pawns adds 2 (3 is below 4); the other order would give 6.
       {"r3k2r/3pp3/8/8/8/8/4P3/R3K2R w - -", 5, "the file to the right is read first"}},
      [&pos]<int C>(int) { return DangerIndex<C>(pos); });
}

TEST(KingSafety, DangerPenaltyNeedsFourteenUnitsOfEnemyPiecesAndSaturates) {
  Position pos;
  const char* fourteen = "3rq1k1/8/8/8/8/8/8/6K1 w - -";
  struct { const char* fen; int dangerIndex, attackWeight, penalty; } cases[] = {
      {fourteen, 0, 5, 15}, {fourteen, 4, 47, 2 * 172}, {fourteen, 4, 48, 2 * 165} /* a dip */,
      {fourteen, 15, 127, 4 * 200}, {fourteen, 15, 128, 4 * 200}, {fourteen, 1, 1000, 200},
      {"2rnr1k1/8/8/8/8/8/8/6K1 w - -", 4, 20, 0} /* 13 units */,
      {"2rbr1k1/8/8/8/8/8/8/6K1 w - -", 4, 20, 0} /* 13 units of another make-up */,
      {"1rrnr1k1/8/8/8/8/8/8/6K1 w - -", 4, 20, 2 * 90} /* 18 units */};
  for (const auto& c : cases) {
    Load(pos, c.fen);
    EXPECT_EQ(KingDangerPenalty<WHITE>(pos, c.dangerIndex, c.attackWeight), c.penalty)
        << c.fen << " " << c.attackWeight;
  }
  EXPECT_EQ(KingDangerPenalty<BLACK>(pos, 15, 100), 0) << "white has no pieces to attack with";
}

// With 3 to 6 units on the board the pieces read their second tables.
TEST(PieceTerms, PiecesWorkedByHand) {
  Position pos;
  struct { const char* fen; int pawns, score, kingAttack; } cases[] = {
      // Knight g6: 320 + 4, no pawns: 0 - 6. Two squares from h8: tropism 5; it attacks h8 itself but none of g8, g7,
      // h7 around the king.
      {"7k/8/6N1/8/8/8/8/K7 b - -", 0, 318, 5},
      // Bishop b2: 325 + 4. Attacks c3..h8, a1, a3, c1 (9), a1 holds its own king: mobility 8, 5 x 8 - 0 - 24 = 16. Six
      // squares from h8: tropism 0, but it attacks g7 beside the king: 1.
      {"7k/8/8/8/8/8/1B6/K7 b - -", 0, 345, 1},
      // Rook a1: 500 - 8. Attacks b1..h1 and a2..a5 (11), own h1 and a5: mobility 9, 2 x 9 - 14 = 4. Behind the passed
      // a5 pawn: 20.
      {"7k/8/8/P7/8/8/8/R6K w - -", 1, 516, 0},
  };
  for (const auto& c : cases) {
    Load(pos, c.fen);
    const PieceTally tally = PieceTerms<WHITE>(pos, c.pawns);
    EXPECT_EQ(std::pair(tally.score, tally.kingAttack), std::pair(c.score, c.kingAttack)) << c.fen;
  }
}

TEST(PieceTerms, RookFiles) {
  Position pos;
  ExpectForBothColours(pos,
                       {{"7k/8/8/P7/8/8/8/R6K w - -", 20, "behind its passed pawn"},
                        {"7k/8/R7/P7/8/8/8/7K w - -", 0, "in front of the pawn", A6},
                        {"7k/1p6/8/P7/8/8/8/R6K w - -", 0, "b7 stops the pawn from being passed"},
                        {"7k/8/8/8/8/8/8/R6K w - -", 8 + 12, "open file"},
                        {"7k/p7/8/8/8/8/8/R6K w - -", 8, "half-open file"}},
                       [&pos]<int C>(int square) { return RookFileBonus<C>(pos, square); });
  // For both colours the pawn that counts is the one nearest rank 1: white's rearmost, black's most advanced. These two
  // positions are twins.
  Load(pos, "7k/8/P7/8/R7/P7/8/7K w - -");
  EXPECT_EQ(RookFileBonus<WHITE>(pos, A4), 0) << "in front of a3";
  Load(pos, "7k/8/p7/r7/8/p7/8/7K b - -");
  EXPECT_EQ(RookFileBonus<BLACK>(pos, A5), 20) << "behind a3, though in front of a6";
}

TEST(PieceTerms, TrappedBishopsBishopPairAndRooksOnTheSeventh) {
  Position pos;
  ExpectForBothColours(pos,
                       {{"4k3/B7/1p6/8/8/8/8/4K3 w - -", 220, "a7 by b6"},
                        {"1B2k3/2p5/8/8/8/8/8/4K3 w - -", 220, "b8 by c7"},
                        {"4k1B1/5p2/8/8/8/8/8/4K3 w - -", 220, "g8 by f7"},
                        {"4k3/7B/6p1/8/8/8/8/4K3 w - -", 220, "h7 by g6"},
                        {"1B2k3/B1p5/1p6/8/8/8/8/4K3 w - -", 220, "two at once: one penalty"},
                        {"4k3/B7/8/8/8/8/8/4K3 w - -", 0, "no pawn beside it"},
                        {"4k3/B7/1P6/8/8/8/8/4K3 w - -", 0, "its own pawn"},
                        {"4k3/B7/2p5/8/8/8/8/4K3 w - -", 0, "the wrong pawn square"},
                        {"4k3/8/1p6/8/8/8/8/B3K3 w - -", 0, "the wrong bishop square"}},
                       [&pos]<int C>(int) { return TrappedBishopPenalty<C>(pos); });
  ExpectForBothColours(pos,
                       {{"4k3/8/8/8/8/8/8/2B1KB2 w - -", 40, "light and dark"},
                        {"4k3/8/8/8/8/B7/8/2B1K3 w - -", 0, "a3 and c1 are both dark"}},
                       [&pos]<int C>(int) { return BishopPairBonus<C>(pos); });
  ExpectForBothColours(pos,
                       {{"7k/RR6/8/8/8/8/8/6K1 w - -", 18 + 18 + 48, "two, king on the eighth"},
                        {"8/RR4k1/8/8/8/8/8/6K1 b - -", 18 + 18 + 18, "two, king on the seventh"},
                        {"8/RR6/6k1/8/8/8/8/6K1 w - -", 18 + 18, "two, king further up"},
                        {"7k/R7/8/8/8/8/8/R5K1 w - -", 18, "one"},
                        {"7k/8/R7/8/8/8/8/R5K1 w - -", 0, "none"}},
                       [&pos]<int C>(int) { return RooksOnSeventhBonus<C>(pos); });
}

// Each row of the table for white (white's minor / major pieces less black's), and with the colours exchanged for
// black.
TEST(Imbalance, EachRowOfTheTableForEitherColour) {
  Position pos;
  struct { const char* fen; int minorBalance, majorBalance, score; } cases[] = {
      // Two majors down; one major down (with white's queen and knight, or a queen each).
      {"r3k2r/8/8/8/8/8/8/1NNBK3 w - -", 3, -2, 130}, {"r3k2r/8/8/8/8/8/8/1N1BK3 w - -", 2, -2, 0},
      {"4k2r/8/8/8/8/8/8/1N1BK3 w - -", 2, -1, 100}, {"4k2r/8/8/8/8/8/8/1N2K3 w - -", 1, -1, -60},
      {"r3k2r/8/8/8/8/8/8/1N2KQ2 w - -", 1, -1, -60 + 60}, {"r1b1k2r/8/8/8/8/8/8/1NNBKQ2 w - -", 2, -1, 100 + 60},
      // Majors even, minor pieces not (the last: only one side has a queen).
      {"4k3/pppp4/8/8/8/8/8/1NB1K3 w - -", 2, 0, 100}, {"3qk3/8/8/8/8/8/8/1N1QK3 w - -", 1, 0, 100},
      {"1n1qk3/8/8/8/8/8/8/3QK3 w - -", -1, 0, -100}, {"4k2r/8/8/8/8/8/8/1N1QK3 w - -", 1, 0, 0},
      // One major up (with black's queen and knight); two majors up.
      {"1nb1k3/8/8/8/8/8/8/4K2R w - -", -2, 1, -100}, {"1n2k3/8/8/8/8/8/8/4K2R w - -", -1, 1, 60},
      {"3nkq2/8/8/8/8/8/8/R3K2R w - -", -1, 1, 60 - 60}, {"1nnbk3/8/8/8/8/8/8/R3K2R w - -", -3, 2, -130},
      {"1nn1k3/8/8/8/8/8/8/R3K2R w - -", -2, 2, 0}, {"1n2k3/8/8/8/8/8/8/RR2K2R w - -", -1, 3, 0},
      // Minor pieces even: queen and rook are 14 units, a bare queen 9.
      {"4k2r/8/8/8/8/8/8/3QK3 w - -", 0, 0, 60}, {"3qk3/8/8/8/8/8/8/4K2R w - -", 0, 0, -60},
      {"3qk3/8/8/8/8/8/8/3QK3 w - -", 0, 0, 0}, {"4k3/pppp4/8/8/8/8/8/4K2R w - -", 0, 1, 100},
      {"4k2r/8/8/8/8/8/8/4K3 w - -", 0, -1, -100}, {"4k2r/8/8/8/8/8/8/R2QK3 w - -", 0, 1, 60},
      {"r3k2r/8/8/8/8/8/8/3QK3 w - -", 0, -1, 0}, {"r2qk2r/8/8/8/8/8/8/4K2R w - -", 0, -1, -60},
      {"4k3/pppp4/8/8/8/8/8/1N2K3 w - -", 1, 0, 0},  // neither side has 5 units of pieces
  };
  for (const auto& c : cases) {
    Load(pos, c.fen);
    EXPECT_EQ(MaterialImbalance(pos, c.minorBalance, c.majorBalance), c.score) << c.fen;
    Load(pos, MirroredFen(c.fen));
    EXPECT_EQ(MaterialImbalance(pos, -c.minorBalance, -c.majorBalance), -c.score) << MirroredFen(c.fen);
  }
}
