#include "board/bitboard.h"

u64 SquareMask[SQUARE_COUNT];
u64 SquareMaskByFile[SQUARE_COUNT];
u64 SquareMaskDiagUp[SQUARE_COUNT];
u64 SquareMaskDiagDown[SQUARE_COUNT];
u64 EpToggleByFile[EP_TOGGLE_SIZE];
u64 EpToggleDiagUp[EP_TOGGLE_SIZE];
u64 EpToggleDiagDown[EP_TOGGLE_SIZE];
u32 LowBitSquare[SQUARE_COUNT];

namespace {

constexpr u64 Bit(int index) { return u64{1} << index; }

// Bit index of a square inside each rotated layout.
constexpr int FileLayoutBit(int square) { return 8 * FileOf(square) + (7 - RowOf(square)); }

constexpr int DiagUpLayoutBit(int square) {
  int d = DiagUpIndex(square);
  int lowestFile = d > 7 ? d - 7 : 0;
  return 63 - (DiagonalStart(d) + FileOf(square) - lowestFile);
}

constexpr int DiagDownLayoutBit(int square) {
  int d = DiagDownIndex(square);
  int lowestFile = d < 7 ? 7 - d : 0;
  return 63 - (DiagonalStart(d) + FileOf(square) - lowestFile);
}

template <int (*LayoutBit)(int)>
u64 Rotate(u64 set) {
  u64 rotated = 0;
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    if (set & Bit(63 - square)) rotated |= Bit(LayoutBit(square));
  }
  return rotated;
}

template <int (*Diagonal)(int)>
constexpr std::array<u8, SQUARE_COUNT> DiagonalShifts() {
  std::array<u8, SQUARE_COUNT> table{};
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    int d = Diagonal(square);
    table[square] = static_cast<u8>(64 - DiagonalStart(d) - DiagonalLength(d));
  }
  return table;
}

template <int (*Diagonal)(int)>
constexpr std::array<u8, SQUARE_COUNT> DiagonalMasks() {
  std::array<u8, SQUARE_COUNT> table{};
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    table[square] = static_cast<u8>((1 << DiagonalLength(Diagonal(square))) - 1);
  }
  return table;
}

constexpr u32 BIT_SCAN_MULTIPLIER = 0x78291ACF;
constexpr int BIT_SCAN_SHIFT = 26;

u32 BitScanIndex(u64 set) {
  u64 below = (set & (0 - set)) - 1;
  u32 fold = static_cast<u32>(below) ^ static_cast<u32>(below >> 32);
  return (fold * BIT_SCAN_MULTIPLIER) >> BIT_SCAN_SHIFT;
}

// An en-passant target on rank 6 has its victim one rank below, on rank 3 one above.
constexpr int RANK6_FIRST = A6, RANK3_FIRST = A3, SQUARES_PER_RANK = 8;

void SetEpToggle(int target, int victim) {
  EpToggleByFile[target] = SquareMaskByFile[target] | SquareMaskByFile[victim];
  EpToggleDiagUp[target] = SquareMaskDiagUp[target] | SquareMaskDiagUp[victim];
  EpToggleDiagDown[target] = SquareMaskDiagDown[target] | SquareMaskDiagDown[victim];
}

}  // namespace

const std::array<u8, SQUARE_COUNT> DiagUpShift = DiagonalShifts<DiagUpIndex>();
const std::array<u8, SQUARE_COUNT> DiagUpMask = DiagonalMasks<DiagUpIndex>();
const std::array<u8, SQUARE_COUNT> DiagDownShift = DiagonalShifts<DiagDownIndex>();
const std::array<u8, SQUARE_COUNT> DiagDownMask = DiagonalMasks<DiagDownIndex>();

u64 RotateToFiles(u64 set) { return Rotate<FileLayoutBit>(set); }
u64 RotateToDiagUp(u64 set) { return Rotate<DiagUpLayoutBit>(set); }
u64 RotateToDiagDown(u64 set) { return Rotate<DiagDownLayoutBit>(set); }

int LowBitSquareByRule(u64 set) { return static_cast<int>(LowBitSquare[BitScanIndex(set)]); }

void InitBitboardTables() {
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    SquareMask[square] = Bit(63 - square);
  }
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    SquareMaskByFile[square] = RotateToFiles(SquareMask[square]);
    SquareMaskDiagUp[square] = RotateToDiagUp(SquareMask[square]);
    SquareMaskDiagDown[square] = RotateToDiagDown(SquareMask[square]);
  }
  for (int bit = 0; bit < SQUARE_COUNT; ++bit) {
    LowBitSquare[BitScanIndex(Bit(bit))] = static_cast<u32>(63 - bit);
  }
  for (int file = 0; file < SQUARES_PER_RANK; ++file) {
    SetEpToggle(RANK6_FIRST + file, RANK6_FIRST + file + SQUARES_PER_RANK);
    SetEpToggle(RANK3_FIRST + file, RANK3_FIRST + file - SQUARES_PER_RANK);
  }
}
