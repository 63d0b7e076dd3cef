// Passing the move: the side to move changes and nothing else moves, for the
// null-move pruning of the search.
#pragma once

#include "board/position.h"

// Records MOVE_NULL as the move of the current history entry, pushes the
// entry of the new position (its fifty count one more), takes away the
// en-passant square with its keys and hands the move to the opponent. record
// (the current ply's) keeps what UnmakeNullMove puts back; the caller steps
// UndoTop around the null-move search as for a real move.
void MakeNullMove(Position& pos, UndoRecord& record);

// Takes back the MakeNullMove that filled record; every later move must have
// been taken back already.
void UnmakeNullMove(Position& pos, UndoRecord& record);
