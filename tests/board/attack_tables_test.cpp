#include <gtest/gtest.h>

#include <random>

#include "board/attacks.h"

namespace {

class AttackTables : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
};

u64 Mask(std::initializer_list<int> squares) {
  u64 set = 0;
  for (int s : squares) set |= u64{1} << (63 - s);
  return set;
}

// Sliding attacks by walking the board one square at a time: the truth the
// table lookups must reproduce.
u64 WalkedAttacks(int square, u64 occupied, std::initializer_list<std::pair<int, int>> directions) {
  u64 attacks = 0;
  for (auto [df, dr] : directions) {
    int f = FileOf(square) + df, r = RowOf(square) + dr;
    while (f >= 0 && f < 8 && r >= 0 && r < 8) {
      int s = 8 * r + f;
      attacks |= Mask({s});
      if (occupied & Mask({s})) break;
      f += df;
      r += dr;
    }
  }
  return attacks;
}

void SetOccupancy(u64 occupied) {
  Occupied = occupied;
  OccupiedByFile = RotateToFiles(occupied);
  OccupiedDiagUp = RotateToDiagUp(occupied);
  OccupiedDiagDown = RotateToDiagDown(occupied);
}

TEST_F(AttackTables, SliderLookupsMatchWalkingTheBoard) {
  std::mt19937_64 random(2024);
  for (int trial = 0; trial < 200; ++trial) {
    u64 occupied = random() & random();  // about a quarter of the squares
    SetOccupancy(occupied);
    for (int s = 0; s < SQUARE_COUNT; ++s) {
      ASSERT_EQ(RookLines(s), WalkedAttacks(s, occupied, {{1, 0}, {-1, 0}, {0, 1}, {0, -1}}))
          << "square " << s;
      ASSERT_EQ(BishopLines(s), WalkedAttacks(s, occupied, {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}}))
          << "square " << s;
    }
  }
}

TEST_F(AttackTables, RankAttacksOfTheA1Rook) {
  EXPECT_EQ(RankAttacks[A1][0xff], Mask({B1}));
  EXPECT_EQ(RankAttacks[A1][0x80], Mask({B1, C1, D1, E1, F1, G1, H1}));
}

TEST_F(AttackTables, CornerDiagonalsOfLengthOneAreEmpty) {
  EXPECT_EQ(DiagUpAttacks[A8][0], 0u);
  EXPECT_EQ(DiagUpAttacks[H1][0], 0u);
  EXPECT_EQ(DiagDownAttacks[H8][0], 0u);
  EXPECT_EQ(DiagDownAttacks[A1][0], 0u);
}

TEST_F(AttackTables, RaysOnTheEmptyBoard) {
  EXPECT_EQ(PopCount(RookRays[D4]), 14);
  EXPECT_EQ(PopCount(BishopRays[D4]), 13);
  EXPECT_EQ(PopCount(BishopRays[A1]), 7);
  EXPECT_EQ(QueenRays[E4], RookRays[E4] | BishopRays[E4]);
}

TEST_F(AttackTables, LeapersOverTheWholeBoard) {
  int knightMoves = 0, kingMoves = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    knightMoves += PopCount(KnightAttacks[s]);
    kingMoves += PopCount(KingAttacks[s]);
  }
  EXPECT_EQ(knightMoves, 336);
  EXPECT_EQ(kingMoves, 420);
  EXPECT_EQ(KnightAttacks[G1], Mask({E2, F3, H3}));
}

TEST_F(AttackTables, PawnAttacks) {
  EXPECT_EQ(WhitePawnAttacks[A2], Mask({B3}));
  EXPECT_EQ(WhitePawnAttacks[E4], Mask({D5, F5}));
  EXPECT_EQ(BlackPawnAttacks[H7], Mask({G6}));
  EXPECT_EQ(WhitePawnAttacks[E8], 0u);
  EXPECT_EQ(BlackPawnAttacks[E1], 0u);
}

TEST_F(AttackTables, PawnStructureMasks) {
  EXPECT_EQ(FileOthers[E4], Mask({E8, E7, E6, E5, E3, E2, E1}));
  EXPECT_EQ(PopCount(AdjacentFiles[A5]), 8);
  EXPECT_EQ(PopCount(AdjacentFiles[D5]), 16);
  EXPECT_EQ(WhiteFrontSpan[E6], Mask({E7, E8}));
  EXPECT_EQ(BlackFrontSpan[E3], Mask({E2, E1}));
  EXPECT_EQ(WhitePassedSpan[A6], Mask({A7, A8, B7, B8}));
  EXPECT_EQ(BlackPassedSpan[H3], Mask({G2, G1, H2, H1}));
}

TEST_F(AttackTables, RotatedLayouts) {
  EXPECT_EQ(RotateToDiagUp(Mask({E1, F1, G1, H1})), 0x225u);
  EXPECT_EQ(RotateToDiagDown(Mask({E1, F1, G1, H1})), 0x10208400u);
  EXPECT_EQ(SquareMask[A8], u64{1} << 63);
  EXPECT_EQ(SquareMaskByFile[A8], u64{1} << 7);
  EXPECT_EQ(SquareMaskDiagUp[A8], u64{1} << 63);
  EXPECT_EQ(SquareMaskDiagDown[A8], u64{1} << 35);
  u64 byFile = 0, up = 0, down = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    byFile |= SquareMaskByFile[s];
    up |= SquareMaskDiagUp[s];
    down |= SquareMaskDiagDown[s];
  }
  EXPECT_EQ(byFile, ~u64{0});
  EXPECT_EQ(up, ~u64{0});
  EXPECT_EQ(down, ~u64{0});
}

TEST_F(AttackTables, DiagonalShiftsAndMasks) {
  const u8 shifts[] = {63, 61, 58, 54, 49, 43, 36, 28};
  for (int file = 0; file < 8; ++file) {
    EXPECT_EQ(DiagUpShift[file], shifts[file]);
    EXPECT_EQ(DiagUpMask[file], (1 << (file + 1)) - 1);
  }
}

TEST_F(AttackTables, EnPassantTogglesFlipTargetAndVictim) {
  EXPECT_EQ(EpToggleByFile[E6], SquareMaskByFile[E6] | SquareMaskByFile[E5]);
  EXPECT_EQ(EpToggleByFile[E3], SquareMaskByFile[E3] | SquareMaskByFile[E4]);
  EXPECT_EQ(EpToggleDiagUp[A3], SquareMaskDiagUp[A3] | SquareMaskDiagUp[A4]);
  EXPECT_EQ(EpToggleDiagDown[H6], SquareMaskDiagDown[H6] | SquareMaskDiagDown[H5]);
  EXPECT_EQ(EpToggleByFile[A8], 0u);
}

TEST_F(AttackTables, BitScanRuleAndIntrinsicAgree) {
  const u32 firstEntries[] = {63, 32, 59, 30, 3, 48, 51, 29};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(LowBitSquare[i], firstEntries[i]);
  for (int bit = 0; bit < 64; ++bit) {
    u64 set = u64{1} << bit;
    EXPECT_EQ(LowBitSquareByRule(set), 63 - bit);
    EXPECT_EQ(LowestSquare(set), 63 - bit);
  }
  std::mt19937_64 random(7);
  for (int trial = 0; trial < 1000; ++trial) {
    u64 set = random() | 1;
    set <<= trial % 64;
    if (set == 0) continue;
    EXPECT_EQ(LowestSquare(set), LowBitSquareByRule(set));
  }
  EXPECT_EQ(LowestSquare(Mask({H1})), 63);
  EXPECT_EQ(LowestSquare(Mask({A8})), 0);
  EXPECT_EQ(LowestSquare(Mask({A8, H1})), 63);
  u64 set = Mask({A8, E4, H1});
  EXPECT_EQ(PopLowestSquare(set), H1);
  EXPECT_EQ(PopLowestSquare(set), E4);
  EXPECT_EQ(PopLowestSquare(set), A8);
  EXPECT_EQ(set, 0u);
}

}  // namespace
