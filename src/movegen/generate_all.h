// Full move generation: every pseudo-legal move of the side to move, for a
// position in which it is not in check.
#pragma once

#include "movegen/move_stack.h"

// Entry [SideToMove]: writes the moves from out onward, in this order: pawn
// captures towards the a-file, then towards the h-file (each: en passant,
// promotions, others), knights, queens, rooks, bishops (each piece: captures,
// then quiet moves), pawn pushes (promotions, double steps, single steps),
// king, castling short then long. Returns one past the last entry written.
extern const MoveGenerator GenerateAll[2];
