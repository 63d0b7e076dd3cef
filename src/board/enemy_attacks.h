// Whether a square is attacked by a colour's enemy: the test that a move just
// made left the mover's king safe, made on every move the search tries.
#pragma once

#include "board/attacks.h"
#include "board/position.h"

// What one colour looks for around its king: the enemy's pieces and the squares
// from which an enemy pawn would attack it (those its own pawn would attack).
template <int Colour>
struct KingWatch {
  static constexpr int ENEMY = Colour ^ 1;
  static constexpr int HOME = Colour == WHITE ? E1 : E8;
  static constexpr int SHORT_CASTLE_KIND =
      Colour == WHITE ? KIND_WHITE_SHORT_CASTLE : KIND_BLACK_SHORT_CASTLE;
  // Where the enemy king may not stand for each castling: next to the path.
  static constexpr u64 SHORT_BLOCK =
      Colour == WHITE ? SquareBit(E1) | SquareBit(F1) | SquareBit(G1) | SquareBit(H1) |
                            SquareBit(E2) | SquareBit(F2) | SquareBit(G2) | SquareBit(H2)
                      : SquareBit(E8) | SquareBit(F8) | SquareBit(G8) | SquareBit(H8) |
                            SquareBit(E7) | SquareBit(F7) | SquareBit(G7) | SquareBit(H7);
  static constexpr u64 LONG_BLOCK =
      Colour == WHITE ? SquareBit(B1) | SquareBit(C1) | SquareBit(D1) | SquareBit(B2) |
                            SquareBit(C2) | SquareBit(D2)
                      : SquareBit(B8) | SquareBit(C8) | SquareBit(D8) | SquareBit(B7) |
                            SquareBit(C7) | SquareBit(D7);

  static const u64* OwnPawnAttacks() { return Colour == WHITE ? WhitePawnAttacks : BlackPawnAttacks; }
  static u64 EnemyPawns(Position& pos) { return pos.PieceBB[PieceCode(PAWN, ENEMY)]; }
  static u64 EnemyKnights(Position& pos) { return pos.PieceBB[PieceCode(KNIGHT, ENEMY)]; }
  static u64 EnemyStraight(Position& pos) {
    return pos.PieceBB[PieceCode(ROOK, ENEMY)] | pos.PieceBB[PieceCode(QUEEN, ENEMY)];
  }
  static u64 EnemyDiagonal(Position& pos) {
    return pos.PieceBB[PieceCode(BISHOP, ENEMY)] | pos.PieceBB[PieceCode(QUEEN, ENEMY)];
  }
};

// True when an enemy knight, pawn or slider of Colour's enemy attacks square.
template <int Colour>
bool AttackedByEnemy(Position& pos, int square) {
  using Watch = KingWatch<Colour>;
  if (KnightAttacks[square] & Watch::EnemyKnights(pos)) return true;
  if (Watch::OwnPawnAttacks()[square] & Watch::EnemyPawns(pos)) return true;
  u64 straight = Watch::EnemyStraight(pos), diagonal = Watch::EnemyDiagonal(pos);
  if (((straight | diagonal) & QueenRays[square]) == 0) return false;
  if ((straight & RookRays[square]) && (RookLines(pos, square) & straight)) return true;
  return (diagonal & BishopRays[square]) && (BishopLines(pos, square) & diagonal);
}
