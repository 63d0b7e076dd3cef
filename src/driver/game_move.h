// Playing a move of the game, the interface's or the engine's own.
#pragma once

#include "board/types.h"

// Makes the move on the board and the game copy, counts it and logs the new
// key. A zero move changes nothing and gives false. The move must be legal.
bool PlayGameMove(Move move);
