// Whether a move of the side to move can give check, judged before it is made,
// so that a search may pass over a quiet move without making it.
#pragma once

#include "board/position.h"

// True for every move that gives check (directly or by discovery), and for
// a few that do not: castlings, en-passant captures, promotions, and a piece
// that moves along the line it uncovers.
bool MayGiveCheck(Position& pos, Move move);
