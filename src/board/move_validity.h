// Whether a move code fits the position: the test applied to moves that come
// from text or storage rather than from the generators.
#pragma once

#include "board/position.h"
#include "board/types.h"

// True when move is a move of the side to move in the present position, as a
// generator would produce it, its king's safety aside: the piece on the
// from-square is the mover's and moves as its kind does (sliders over empty
// squares only), a quiet move goes to an empty square and a capture takes an
// enemy piece, a pawn reaching the last rank promotes and only then, en passant
// takes the pawn that has just made a double step, and castling has its right,
// its king and rook at home and the squares between them empty.
bool IsMoveValid(Position& pos, Move move);

// True when move is valid and does not leave the mover's king attacked, by the
// enemy king included, nor castle out of or through check.
bool IsLegalMove(Position& pos, Move move);
