// Whether a move from outside (the interface, a file) is one the engine could
// play: the test the generators themselves answer.
#pragma once

#include "board/types.h"

// True when the generators write move for the side to move in the present
// position (evasions when in check, all moves otherwise) and making it does
// not leave the mover's king attacked. Uses a list of its own, not MoveStack.
bool IsGeneratedLegalMove(Move move);
