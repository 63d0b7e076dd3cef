// The move field of a Polyglot book entry: to-square in bits 0-5, from-square
// in bits 6-11 (each 8 * rank + file, a1 = 0), the promoted piece in bits
// 12-14 (knight 1, bishop 2, rook 3, queen 4). Castling is written as the king
// taking its own rook: e1h1, e1a1, e8h8, e8a8.
#pragma once

#include "board/position.h"
#include "board/types.h"

using PolyglotMove = u16;

// The field of one of our moves (a castling, a promotion, any other move).
PolyglotMove PolyglotMoveOf(Move move);

// The legal move of the position on the board that the field stands for; 0
// when none does.
Move MoveOfPolyglot(Position& pos, PolyglotMove field);
