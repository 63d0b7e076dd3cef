// Finding the from-square of a piece move named by its piece and destination,
// as standard algebraic notation writes it ("Nf3", "exd5").
#pragma once

#include "board/position.h"
#include "board/types.h"

// text starts with the piece letter N, B, R, Q or K, or with the file letter of
// a capturing pawn. The candidates are the side to move's pieces of that kind
// that reach to, within filter (the squares a disambiguation allows; not
// applied to kings and pawns). One candidate gives its move without further
// test; of several, the one legal move, and 0 when none or more than one is
// legal. A pawn capture onto an empty square is en passant.
Move ResolvePieceMove(Position& pos, const char* text, int to, u64 filter);
