// A plain mate finder for checking the search: it tries every legal move with
// the generators, make/unmake and the legality test, and nothing else.
#pragma once

#include <vector>

#include "board/types.h"

// The legal moves of the side to move, in generation order.
std::vector<Move> LegalMoves();

// The side to move is in check and has no legal move.
bool IsCheckmate();

// The side to move mates within the given number of its own moves, whatever
// the defence.
bool ForcesMateWithin(int moves);

// After the side to move plays move, the opponent is mated within moves - 1
// more moves of the side that played it, whatever it replies.
bool MoveForcesMateWithin(Move move, int moves);
