// Knights, bishops, rooks and queens: material, square tables, mobility,
// rook files, trapped bishops, the bishop pair, rooks on the seventh rank,
// and how near each piece comes to the enemy king.
#pragma once

#include "board/position.h"

constexpr int KING_DISTANCE_COUNT = 8;

// By the king distance (the larger of the rank and file differences) between
// a piece and the enemy king.
extern const u8 KnightTropism[KING_DISTANCE_COUNT];
extern const u8 BishopTropism[KING_DISTANCE_COUNT];
extern const u8 RookTropism[KING_DISTANCE_COUNT];
extern const u8 QueenTropism[KING_DISTANCE_COUNT];

constexpr int KingDistance(int a, int b) {
  int rows = RowOf(a) > RowOf(b) ? RowOf(a) - RowOf(b) : RowOf(b) - RowOf(a);
  int files = FileOf(a) > FileOf(b) ? FileOf(a) - FileOf(b) : FileOf(b) - FileOf(a);
  return rows > files ? rows : files;
}

struct PieceTally {
  int score;       // positive for the colour of the pieces
  int kingAttack;  // weight of the pieces' pressure on the enemy king
};

// The pieces of colour C; pawns = the number of pawns of both colours.
template <int C>
PieceTally PieceTerms(Position& pos, int pawns);

// The rules inside PieceTerms, each positive for colour C.

// A rook on square: behind the own pawn of its file nearest rank 1 (for both
// colours) when that pawn is passed; or on a file without own pawns, more
// without enemy pawns either.
template <int C>
int RookFileBonus(Position& pos, int square);

// A bishop shut in an enemy corner by a pawn (a7 with b6 and the like, seen
// from white's side); at most one penalty. Returned as a positive number.
template <int C>
int TrappedBishopPenalty(Position& pos);

// Bishops on both colours of square.
template <int C>
int BishopPairBonus(Position& pos);

// Rooks on the enemy's second rank, more for two with the enemy king on its
// first or second rank.
template <int C>
int RooksOnSeventhBonus(Position& pos);
