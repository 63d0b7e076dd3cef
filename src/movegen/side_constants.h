// What the generators of one colour know at compile time: pawn directions,
// special ranks, piece codes and castling squares. White pawns move towards
// square 0, black pawns towards square 63.
#pragma once

#include "board/attacks.h"
#include "board/castling.h"
#include "board/position.h"

// Moves a whole set by a square offset: square s goes to s + offset, that is
// bit 63 - s goes down by offset.
template <int Offset>
constexpr u64 ShiftSquares(u64 set) {
  if constexpr (Offset > 0) {
    return set >> Offset;
  } else {
    return set << -Offset;
  }
}

constexpr u64 RankSquares(int rank) { return u64{0xff} << (8 * (rank - 1)); }
constexpr u64 FILE_A_SQUARES = 0x8080808080808080ULL;
constexpr u64 FILE_H_SQUARES = 0x0101010101010101ULL;

template <int Colour>
struct Side {
  static constexpr int US = Colour;
  static constexpr int THEM = Colour ^ 1;
  static constexpr bool IS_WHITE = Colour == WHITE;

  // to - from of a pawn's step forward and of its captures towards each edge.
  static constexpr int FORWARD = IS_WHITE ? -8 : 8;
  static constexpr int TOWARDS_A = IS_WHITE ? -9 : 7;
  static constexpr int TOWARDS_H = IS_WHITE ? -7 : 9;

  static constexpr u64 PROMOTION_RANK = RankSquares(IS_WHITE ? 8 : 1);
  static constexpr u64 BEFORE_PROMOTION_RANK = RankSquares(IS_WHITE ? 7 : 2);
  static constexpr u64 DOUBLE_PUSH_MIDDLE_RANK = RankSquares(IS_WHITE ? 3 : 6);

  static constexpr int PAWN_CODE = PieceCode(PAWN, Colour);
  static constexpr int KNIGHT_CODE = PieceCode(KNIGHT, Colour);
  static constexpr int BISHOP_CODE = PieceCode(BISHOP, Colour);
  static constexpr int ROOK_CODE = PieceCode(ROOK, Colour);
  static constexpr int QUEEN_CODE = PieceCode(QUEEN, Colour);
  static constexpr int KING_CODE = PieceCode(KING, Colour);

  static constexpr const CastlingMove& SHORT_CASTLE =
      CastlingOf(IS_WHITE ? WHITE_SHORT_CASTLE : BLACK_SHORT_CASTLE);
  static constexpr const CastlingMove& LONG_CASTLE =
      CastlingOf(IS_WHITE ? WHITE_LONG_CASTLE : BLACK_LONG_CASTLE);

  // The enemy pawns that would attack a square: where own pawns on it would capture.
  static constexpr u64* const OWN_PAWN_ATTACKS = IS_WHITE ? WhitePawnAttacks : BlackPawnAttacks;

  static u64 Own(Position& pos) { return pos.ColourBB[US]; }
  static u64 Enemy(Position& pos) { return pos.ColourBB[THEM]; }
  static u64 Pawns(Position& pos) { return pos.PieceBB[PAWN_CODE]; }
};

// The pieces of both colours that slide along ranks and files, and along
// diagonals, as the exchange evaluator takes them.
inline u64 RooksAndQueens(Position& pos) {
  return pos.PieceBB[WHITE_ROOK] | pos.PieceBB[BLACK_ROOK] | pos.PieceBB[WHITE_QUEEN] | pos.PieceBB[BLACK_QUEEN];
}
inline u64 BishopsAndQueens(Position& pos) {
  return pos.PieceBB[WHITE_BISHOP] | pos.PieceBB[BLACK_BISHOP] | pos.PieceBB[WHITE_QUEEN] | pos.PieceBB[BLACK_QUEEN];
}
