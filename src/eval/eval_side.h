// What the evaluation needs to know of one colour, as compile-time constants,
// so that each term is written once and instantiated for white and black.
// Terms computed with these are positive when they favour the colour itself.
#pragma once

#include <initializer_list>

#include "board/attacks.h"
#include "board/position.h"

// The set of the listed squares.
constexpr u64 SquaresOf(std::initializer_list<int> squares) {
  u64 set = 0;
  for (int square : squares) set |= u64{1} << (63 - square);
  return set;
}

template <int C>
struct EvalSide;

template <>
struct EvalSide<WHITE> {
  static constexpr int ENEMY = BLACK;
  // The square as white sees it: piece tables are written from white's side.
  static constexpr int OwnView(int square) { return square; }
  static constexpr const u64* PassedSpan = WhitePassedSpan;
  static constexpr const u64* FrontSpan = WhiteFrontSpan;
  static constexpr const u64* PawnAttacks = WhitePawnAttacks;
  // Behind a pawn for a rook of this colour: nearer rank 1.
  static constexpr bool Behind(int square, int pawnSquare) { return square > pawnSquare; }
};

// Black reads the piece tables turned by 180 degrees (a8 <-> h1).
template <>
struct EvalSide<BLACK> {
  static constexpr int ENEMY = WHITE;
  static constexpr int OwnView(int square) { return 63 - square; }
  static constexpr const u64* PassedSpan = BlackPassedSpan;
  static constexpr const u64* FrontSpan = BlackFrontSpan;
  static constexpr const u64* PawnAttacks = BlackPawnAttacks;
  static constexpr bool Behind(int square, int pawnSquare) { return square < pawnSquare; }  // nearer rank 8
};

// Rows seen from a colour's side: 0 is the enemy's back rank, 7 its own.
template <int C>
constexpr int OwnRow(int square) {
  return RowOf(EvalSide<C>::OwnView(square));
}

// Squares given from white's side, as they stand for colour C: the same files,
// rank n becoming rank 9 - n.
template <int C>
constexpr u64 FromWhiteSide(u64 whiteSquares) {
  if constexpr (C == WHITE) return whiteSquares;
  return __builtin_bswap64(whiteSquares);
}

template <int C>
u64 OwnPawns(Position& pos) {
  return pos.PieceBB[PieceCode(PAWN, C)];
}
template <int C>
u64 EnemyPawns(Position& pos) {
  return pos.PieceBB[PieceCode(PAWN, C ^ 1)];
}
template <int C>
bool HasQueen(Position& pos) {
  return pos.PieceBB[PieceCode(QUEEN, C)] != 0;
}
