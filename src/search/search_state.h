// The sizes of the history that orders quiet moves (kept by each Searcher).
#pragma once

#include "board/types.h"

// History slots: the side to move and the low 12 bits of the move.
constexpr int HISTORY_MOVE_SLOTS = 1 << 12;
constexpr Move HISTORY_MOVE_MASK = HISTORY_MOVE_SLOTS - 1;

// The modern search's bounded history stays within +-HISTORY_LIMIT.
constexpr int HISTORY_LIMIT = 8192;

// A row of the continuation history: a counter for each quiet move by the
// piece that makes it and the square it goes to.
constexpr int CONTINUATION_SLOTS = PIECE_CODE_COUNT * SQUARE_COUNT;
using ContinuationRow = i16[CONTINUATION_SLOTS];
