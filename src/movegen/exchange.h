// Static exchange evaluation: the captures on one square played out on
// bitboards, each side recapturing with its least valuable piece, turned into
// an ordering score.
#pragma once

#include "board/position.h"
#include "board/types.h"

// The score of a king capture onto a square the opponent attacks: no move.
constexpr i16 ILLEGAL_KING_CAPTURE = -32767;  // 0x8001

// Rates the move of piece (of the side to move) from one square to another.
// rookQueens and bishopQueens are the rooks and queens, and the bishops and
// queens, of both colours. Winning captures score near -9500 plus the gain,
// exact trades and safe quiet moves near -29985, losing moves near -30000
// minus the loss; all arithmetic wraps at 16 bits. Changes nothing.
i16 ExchangeScore(Position& pos, int piece, int from, int to, u64 rookQueens, u64 bishopQueens);

// What a quiet move or a capture of the side to move loses in the exchange
// on its square, in centipawns less what its piece gains by standing there;
// 0 when it loses nothing, and for king moves and every other kind of move.
int ExchangeLoss(Position& pos, Move move);
