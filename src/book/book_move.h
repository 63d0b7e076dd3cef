// The engine's move from the opening book: a move that leads into the book of
// the side that will then be to move, picked at random among such moves.
#pragma once

#include "board/position.h"
#include "board/types.h"

// 0 when no move of the position leads into the book.
Move BookMove(Position& pos);

// The same, with the clock reading that picks among the candidates: the
// moves are tried from the last generated to the first, and candidate number
// (clock modulo their count) in that order is the answer.
Move BookMoveAt(Position& pos, i64 clockMs);

// The moves that lead into the book, in that order, written to candidates
// (room for MAX_LIST_MOVES); returns their number.
int BookCandidates(Position& pos, Move* candidates);
