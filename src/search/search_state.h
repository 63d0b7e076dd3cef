// Move-ordering memory of the search that outlives one node: the history
// counters of quiet-move cut-offs, and the in-check counts of the current line.
#pragma once

#include "board/types.h"

// Indexed by the side to move and the low 12 bits of the move (from and to
// squares); grows by depth squared at every cut-off.
constexpr int HISTORY_MOVE_SLOTS = 1 << 12;
constexpr Move HISTORY_MOVE_MASK = HISTORY_MOVE_SLOTS - 1;
extern thread_local constinit u32 HistoryScores[2][HISTORY_MOVE_SLOTS];

// The modern search's history, in the same slots: it stays within
// +-HISTORY_LIMIT, each change shrinking as the counter nears the limit, and
// falls for the quiet moves tried in vain before a quiet cut-off.
constexpr int HISTORY_LIMIT = 8192;
extern thread_local constinit i16 BoundedHistory[2][HISTORY_MOVE_SLOTS];

// The quiet move that last cut the search off in answer to each move, by the
// piece that made that move and the square it went to (modern search).
extern thread_local constinit Move CounterMoves[PIECE_CODE_COUNT][SQUARE_COUNT];

// Per side to move: the nodes of the line from the root to here at which that
// side is in check.
extern thread_local constinit u32 InCheckCount[2];

// The deepest ply the current search has reached in the quiescence search.
extern thread_local constinit u32 SelectiveDepth;

// Forgets the history counters (both kinds) and the counter moves: after every game move and at a position load.
void ClearHistoryScores();
