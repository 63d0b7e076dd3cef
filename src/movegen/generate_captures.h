// Capture generation for the quiescence search: captures, en passant and queen
// promotions, without the ones the exchange evaluator finds losing.
#pragma once

#include "movegen/move_stack.h"

// Entry [SideToMove], for a side not in check: writes from out onward the pawn
// captures towards the a-file, then towards the h-file (all of them, four
// entries per capture onto the last rank), the queen promotions by push, then
// the captures of knights, bishops, rooks, queens and king. Promotion pushes
// and piece captures scored below -10000 are dropped. Returns one past the
// last entry written.
extern const MoveGenerator GenerateCaptures[2];
