// The "bm" (best move) and "am" (avoid move) operation of an EPD line, read as
// a move of the position the line sets up.
#pragma once

#include "board/load_position.h"
#include "board/position.h"

// Reads the operation's move in the present position into EpdBestMove or
// EpdAvoidMove (the other slot becomes 0). A move that cannot be read, or is
// not legal in the position, leaves both slots 0 and answers false (telling
// the user is the caller's business). No operation: both slots 0, true.
bool ReadEpdMove(Position& pos, const EpdOperation& operation);
