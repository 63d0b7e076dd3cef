// The static evaluation of the current position.
#pragma once

#include "board/position.h"
#include "board/types.h"

// Centipawns from the side to move's point of view (a pawn is 100). The
// window bounds are those of the caller and are not used. Changes nothing but
// PawnHashTable. Needs the start-up tables (InitBoardTables).
i16 Evaluate(Position& pos, i16 alpha, i16 beta);
