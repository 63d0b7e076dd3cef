// Attack tables built once at start-up: leapers, the four line tables of the
// sliders indexed by the occupancy byte of one line, the empty-board rays, and
// the pawn-structure masks of the evaluation.
#pragma once

#include "board/bitboard.h"
#include "board/position.h"

constexpr int LINE_OCCUPANCIES = 256;

extern u64 KingAttacks[SQUARE_COUNT];
extern u64 KnightAttacks[SQUARE_COUNT];
extern u64 WhitePawnAttacks[SQUARE_COUNT];  // the two squares a white pawn on s attacks (towards rank 8)
extern u64 BlackPawnAttacks[SQUARE_COUNT];  // the two squares a black pawn on s attacks (towards rank 1)

extern u64 RankAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
extern u64 FileAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
extern u64 DiagUpAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];
extern u64 DiagDownAttacks[SQUARE_COUNT][LINE_OCCUPANCIES];

extern u64 RookRays[SQUARE_COUNT];    // rank and file attacks on the empty board
extern u64 BishopRays[SQUARE_COUNT];  // diagonal attacks on the empty board
extern u64 QueenRays[SQUARE_COUNT];

extern u64 FileOthers[SQUARE_COUNT];       // the other seven squares of the file
extern u64 AdjacentFiles[SQUARE_COUNT];    // the neighbouring file(s), whole
extern u64 WhitePassedSpan[SQUARE_COUNT];  // own and neighbouring files ahead, towards rank 8
extern u64 BlackPassedSpan[SQUARE_COUNT];  // the same towards rank 1
extern u64 WhiteFrontSpan[SQUARE_COUNT];   // own file ahead, towards rank 8
extern u64 BlackFrontSpan[SQUARE_COUNT];   // own file ahead, towards rank 1

// Builds every board table (bitboard masks, attacks, rays, pawn masks). Runs
// once, before the first position is loaded.
void InitBoardTables();

// Slider attacks from a square with the present occupancy: one lookup per line.
inline u64 RankLine(Position& pos, int square) {
  return RankAttacks[square][(pos.Occupied >> (8 * (7 - RowOf(square)))) & 255];
}
inline u64 FileLine(Position& pos, int square) {
  return FileAttacks[square][(pos.OccupiedByFile >> (8 * FileOf(square))) & 255];
}
inline u64 DiagUpLine(Position& pos, int square) {
  return DiagUpAttacks[square][(pos.OccupiedDiagUp >> DiagUpShift[square]) & DiagUpMask[square]];
}
inline u64 DiagDownLine(Position& pos, int square) {
  return DiagDownAttacks[square][(pos.OccupiedDiagDown >> DiagDownShift[square]) & DiagDownMask[square]];
}
inline u64 RookLines(Position& pos, int square) { return RankLine(pos, square) | FileLine(pos, square); }
inline u64 BishopLines(Position& pos, int square) { return DiagUpLine(pos, square) | DiagDownLine(pos, square); }
inline u64 QueenLines(Position& pos, int square) { return RookLines(pos, square) | BishopLines(pos, square); }
