// The four castling moves: the right each one uses, the squares of its king and
// rook, and the squares between them that must be empty.
#pragma once

#include "board/bitboard.h"

struct CastlingMove {
  Move move;
  int colour;
  u16 right;       // the right the move uses
  u16 otherRight;  // the side's other right, lost with it
  int kingFrom, kingTo, rookFrom, rookTo;
  u64 between;     // squares between king and rook
};

// Indexed by the move kind less KIND_BLACK_SHORT_CASTLE.
inline constexpr CastlingMove Castlings[4] = {
    {BLACK_SHORT_CASTLE, BLACK, CASTLE_BLACK_SHORT, CASTLE_BLACK_LONG, E8, G8, H8, F8,
     SquareBit(F8) | SquareBit(G8)},
    {WHITE_SHORT_CASTLE, WHITE, CASTLE_WHITE_SHORT, CASTLE_WHITE_LONG, E1, G1, H1, F1,
     SquareBit(F1) | SquareBit(G1)},
    {BLACK_LONG_CASTLE, BLACK, CASTLE_BLACK_LONG, CASTLE_BLACK_SHORT, E8, C8, A8, D8,
     SquareBit(B8) | SquareBit(C8) | SquareBit(D8)},
    {WHITE_LONG_CASTLE, WHITE, CASTLE_WHITE_LONG, CASTLE_WHITE_SHORT, E1, C1, A1, D1,
     SquareBit(B1) | SquareBit(C1) | SquareBit(D1)},
};

// The castling of a move of kind 12 to 15.
constexpr const CastlingMove& CastlingOf(Move move) {
  return Castlings[MoveKind(move) - KIND_BLACK_SHORT_CASTLE];
}

// Both rights of a colour, indexed by colour.
inline constexpr u16 CastleRightsOf[2] = {CASTLE_BLACK_ANY, CASTLE_WHITE_ANY};
