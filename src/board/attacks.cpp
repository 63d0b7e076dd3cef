#include "board/attacks.h"

#include <cstddef>

u64 KingAttacks[SQUARE_COUNT];
u64 KnightAttacks[SQUARE_COUNT];
u64 WhitePawnAttacks[SQUARE_COUNT];
u64 BlackPawnAttacks[SQUARE_COUNT];
u64 RankAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
u64 FileAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
u64 DiagUpAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
u64 DiagDownAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
u64 RookRays[SQUARE_COUNT];
u64 BishopRays[SQUARE_COUNT];
u64 QueenRays[SQUARE_COUNT];
u64 FileOthers[SQUARE_COUNT];
u64 AdjacentFiles[SQUARE_COUNT];
u64 WhitePassedSpan[SQUARE_COUNT];
u64 BlackPassedSpan[SQUARE_COUNT];
u64 WhiteFrontSpan[SQUARE_COUNT];
u64 BlackFrontSpan[SQUARE_COUNT];

namespace {

constexpr u64 Bit(int index) { return u64{1} << index; }
constexpr bool OnBoard(int file, int row) { return file >= 0 && file < 8 && row >= 0 && row < 8; }
constexpr int SquareOf(int file, int row) { return 8 * row + file; }
u64 MaskOf(int file, int row) { return OnBoard(file, row) ? Bit(63 - SquareOf(file, row)) : 0; }

// Steps as (file, row) offsets; row 0 is rank 8, so "towards rank 8" is row - 1.
struct Step {
  int file, row;
};
constexpr Step KING_STEPS[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr Step KNIGHT_STEPS[] = {{-2, -1}, {-1, -2}, {1, -2}, {2, -1},
                                 {-2, 1},  {-1, 2},  {1, 2},  {2, 1}};
constexpr Step WHITE_PAWN_CAPTURES[] = {{-1, -1}, {1, -1}};
constexpr Step BLACK_PAWN_CAPTURES[] = {{-1, 1}, {1, 1}};

template <std::size_t N>
u64 LeaperTargets(int square, const Step (&steps)[N]) {
  u64 targets = 0;
  for (const Step& step : steps) {
    targets |= MaskOf(FileOf(square) + step.file, RowOf(square) + step.row);
  }
  return targets;
}

// One line through a square as a list of its squares in occupancy-bit order:
// entry i is the square whose bit is (length - 1 - i) in the line's byte.
struct Line {
  int squares[8];
  int length;
  int indexOf(int square) const {
    for (int i = 0; i < length; ++i) {
      if (squares[i] == square) return i;
    }
    return -1;
  }
};

// Walks from the square's place on the line in both directions, stopping after
// the first occupied square or at the end of the line.
u64 LineAttacks(const Line& line, int square, unsigned occupancy) {
  int origin = line.indexOf(square);
  u64 attacks = 0;
  for (int direction : {-1, 1}) {
    for (int i = origin + direction; i >= 0 && i < line.length; i += direction) {
      attacks |= Bit(63 - line.squares[i]);
      if (occupancy & (1u << (line.length - 1 - i))) break;
    }
  }
  return attacks;
}

// Rank byte: file a is the highest bit. File byte: rank 8 is the highest bit.
Line RankThrough(int square) {
  Line line{{}, 8};
  for (int file = 0; file < 8; ++file) line.squares[file] = SquareOf(file, RowOf(square));
  return line;
}
Line FileThrough(int square) {
  Line line{{}, 8};
  for (int row = 0; row < 8; ++row) line.squares[row] = SquareOf(FileOf(square), row);
  return line;
}
// Diagonals: squares by increasing file, the lowest file the highest bit.
Line DiagUpThrough(int square) {
  Line line{{}, 0};
  int d = DiagUpIndex(square);
  for (int file = 0; file < 8; ++file) {
    int row = d - file;
    if (OnBoard(file, row)) line.squares[line.length++] = SquareOf(file, row);
  }
  return line;
}
Line DiagDownThrough(int square) {
  Line line{{}, 0};
  int d = DiagDownIndex(square);
  for (int file = 0; file < 8; ++file) {
    int row = d - 7 + file;
    if (OnBoard(file, row)) line.squares[line.length++] = SquareOf(file, row);
  }
  return line;
}

void FillLineTable(u64 (&table)[SQUARE_COUNT][LINE_OCCUPANCIES], Line (*through)(int)) {
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    Line line = through(square);
    unsigned occupancies = 1u << line.length;
    for (unsigned o = 0; o < LINE_OCCUPANCIES; ++o) {
      table[square][o] = o < occupancies ? LineAttacks(line, square, o) : 0;
    }
  }
}

u64 FileMask(int file) {
  u64 mask = 0;
  for (int row = 0; row < 8; ++row) mask |= MaskOf(file, row);
  return mask;
}

// Squares of the given files on the rows strictly between `row` and the edge in `direction`.
u64 RowsAhead(u64 files, int row, int direction) {
  u64 span = 0;
  for (int r = row + direction; r >= 0 && r < 8; r += direction) {
    for (int file = 0; file < 8; ++file) {
      if (files & MaskOf(file, r)) span |= MaskOf(file, r);
    }
  }
  return span;
}

constexpr int TOWARDS_RANK8 = -1, TOWARDS_RANK1 = 1;

void InitPawnMasks(int square) {
  int file = FileOf(square);
  u64 ownFile = FileMask(file);
  u64 neighbours = (file > 0 ? FileMask(file - 1) : 0) | (file < 7 ? FileMask(file + 1) : 0);
  FileOthers[square] = ownFile & ~Bit(63 - square);
  AdjacentFiles[square] = neighbours;
  WhitePassedSpan[square] = RowsAhead(ownFile | neighbours, RowOf(square), TOWARDS_RANK8);
  BlackPassedSpan[square] = RowsAhead(ownFile | neighbours, RowOf(square), TOWARDS_RANK1);
  WhiteFrontSpan[square] = RowsAhead(ownFile, RowOf(square), TOWARDS_RANK8);
  BlackFrontSpan[square] = RowsAhead(ownFile, RowOf(square), TOWARDS_RANK1);
}

// The occupancy byte of each line when only the square itself is occupied.
void InitRays(int square) {
  u64 alone = SquareMask[square];
  unsigned rank = (alone >> (8 * (7 - RowOf(square)))) & 255;
  unsigned file = (RotateToFiles(alone) >> (8 * FileOf(square))) & 255;
  unsigned up = (RotateToDiagUp(alone) >> DiagUpShift[square]) & DiagUpMask[square];
  unsigned down = (RotateToDiagDown(alone) >> DiagDownShift[square]) & DiagDownMask[square];
  RookRays[square] = RankAttacks[square][rank] | FileAttacks[square][file];
  BishopRays[square] = DiagUpAttacks[square][up] | DiagDownAttacks[square][down];
  QueenRays[square] = RookRays[square] | BishopRays[square];
}

}  // namespace

void InitBoardTables() {
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    KingAttacks[square] = LeaperTargets(square, KING_STEPS);
    WhitePawnAttacks[square] = LeaperTargets(square, WHITE_PAWN_CAPTURES);
    BlackPawnAttacks[square] = LeaperTargets(square, BLACK_PAWN_CAPTURES);
    KnightAttacks[square] = LeaperTargets(square, KNIGHT_STEPS);
  }
  FillLineTable(RankAttacks, RankThrough);
  FillLineTable(FileAttacks, FileThrough);
  FillLineTable(DiagUpAttacks, DiagUpThrough);
  FillLineTable(DiagDownAttacks, DiagDownThrough);
  InitBitboardTables();
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    InitPawnMasks(square);
    InitRays(square);
  }
}
