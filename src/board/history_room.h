// Keeping the history stack from overflowing in games of any length.
#pragma once

#include "board/position.h"

// Entries the search may push above the game: its deepest line, the ponder
// move and a trial entry.
constexpr int SEARCH_LINE_ROOM = PLY_RECORDS + 8;

// Entries kept when the game part is slid down: more than the 100 half-moves
// back that the repetition and fifty-move tests ever look (they stop at the
// last capture, pawn move or castling, and a hundred half-moves is a draw).
constexpr int HISTORY_KEPT = 128;

static_assert(HISTORY_KEPT < HISTORY_SIZE - SEARCH_LINE_ROOM);

// Called after each move of the game: once the game fills the stack up to the
// room the search needs, its last HISTORY_KEPT entries move to the bottom.
void KeepRoomInHistory(Position& pos);
