// Bitboards: square masks in the four orientations of the occupancy sets, the
// rotations between them, and the bit scan. Square s is bit 63 - s, so scanning
// from the least significant bit visits squares from h1 towards a8.
#pragma once

#include <array>
#include <bit>

#include "board/types.h"

// The bit of a square, for masks fixed at compile time; SquareMask is its table.
constexpr u64 SquareBit(int square) { return u64{1} << (63 - square); }

extern u64 SquareMask[SQUARE_COUNT];
extern u64 SquareMaskByFile[SQUARE_COUNT];
extern u64 SquareMaskDiagUp[SQUARE_COUNT];
extern u64 SquareMaskDiagDown[SQUARE_COUNT];

// En passant flips the target and the victim square at once in each rotated
// set; filled for targets on rank 6 (16..23) and rank 3 (40..47).
constexpr int EP_TOGGLE_SIZE = 48;
extern u64 EpToggleByFile[EP_TOGGLE_SIZE];
extern u64 EpToggleDiagUp[EP_TOGGLE_SIZE];
extern u64 EpToggleDiagDown[EP_TOGGLE_SIZE];

// Where the diagonal through a square sits in OccupiedDiagUp / OccupiedDiagDown:
// shift it down by the shift, keep the mask, and the diagonal's occupancy is a
// small number whose highest bit is the square of the lowest file.
extern const std::array<u8, SQUARE_COUNT> DiagUpShift;
extern const std::array<u8, SQUARE_COUNT> DiagUpMask;
extern const std::array<u8, SQUARE_COUNT> DiagDownShift;
extern const std::array<u8, SQUARE_COUNT> DiagDownMask;

// Diagonal numbers: a1-h8 parallels by file + row, a8-h1 parallels by row - file + 7.
constexpr int DiagUpIndex(int square) { return FileOf(square) + RowOf(square); }
constexpr int DiagDownIndex(int square) { return RowOf(square) - FileOf(square) + 7; }
constexpr int DiagonalLength(int diagonal) { return diagonal <= 7 ? diagonal + 1 : 15 - diagonal; }
constexpr int DiagonalStart(int diagonal) {
  return diagonal <= 7 ? diagonal * (diagonal + 1) / 2 : 64 - (15 - diagonal) * (16 - diagonal) / 2;
}

// Normal orientation to the layout of each rotated occupancy set.
u64 RotateToFiles(u64 set);
u64 RotateToDiagUp(u64 set);
u64 RotateToDiagDown(u64 set);

// The bit-scan rule: fold the bits below the lowest set bit and hash them into
// this table. The hot loops use the processor's count of trailing zeros,
// which gives the same squares.
extern u32 LowBitSquare[SQUARE_COUNT];
int LowBitSquareByRule(u64 set);

// Square of the lowest set bit (the highest-numbered square) of a non-empty set.
inline int LowestSquare(u64 set) { return 63 - std::countr_zero(set); }

// Removes the lowest set bit and returns its square.
inline int PopLowestSquare(u64& set) {
  int square = LowestSquare(set);
  set &= set - 1;
  return square;
}

inline int PopCount(u64 set) { return std::popcount(set); }

void InitBitboardTables();
