// The fixed Zobrist keys, indexed [piece code][square]. Row 0 holds the
// en-passant keys (by square) and the castling-right keys (by the king's
// destination: g1 K, c1 Q, g8 k, c8 q).
#pragma once

#include "board/types.h"

extern const u64 ZobristKeys[PIECE_CODE_COUNT][SQUARE_COUNT];

constexpr int EN_PASSANT_KEY_ROW = 0;

// The key of a castling right bit (CASTLE_WHITE_SHORT ...).
constexpr int CastleKeySquare(u16 right) {
  return right == CASTLE_WHITE_SHORT  ? G1
         : right == CASTLE_WHITE_LONG ? C1
         : right == CASTLE_BLACK_SHORT ? G8
                                       : C8;
}
inline u64 CastleKey(u16 right) { return ZobristKeys[EN_PASSANT_KEY_ROW][CastleKeySquare(right)]; }
