// Whether a move read from a game is one the side to move has.
#pragma once

#include "board/position.h"

// Finds the checkers of the side to move into record and generates that side's
// moves (the evasions when in check): true when move is among them. The move
// may still leave its own king attacked; the caller tests that after making it.
bool IsGeneratedMove(Move move, UndoRecord& record);
