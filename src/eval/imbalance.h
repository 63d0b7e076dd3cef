// Trades of unequal material: a minor piece against pawns, a rook against a
// minor piece, a queen against rooks and minor pieces.
#pragma once

#include "board/position.h"

// White-positive. minorBalance = white's knights and bishops less black's;
// majorBalance = the same for rooks and queens. Counts only while either side
// has at least 5 units of pieces.
int MaterialImbalance(Position& pos, int minorBalance, int majorBalance);
