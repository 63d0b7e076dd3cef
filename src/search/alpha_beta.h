// The main search below the root: fail-soft negamax with principal-variation
// windows, table cut-offs, null-move pruning, internal iterative deepening,
// an extension for repeated checks, and polling of the clock and the input.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "search/searcher.h"

// A node searches its moves with AlphaBeta while this much depth is left;
// below, their positions go to the quiescence search.
constexpr int MIN_FULL_DEPTH = 2;

// The deepest ply whose moves are still searched by AlphaBeta.
constexpr int LAST_FULL_PLY = 126;

// Fail-soft score of the current position for the side to move within
// (alpha, beta), searched depth plies deep; ply is the distance from the root,
// whose record UndoTop points at. allowNull permits passing the move. Returns
// early, with a partial score, once StopSearch is set. The position is
// unchanged on return.
i16 AlphaBeta(Searcher& s, Position& pos, i32 depth, i32 ply, i16 alpha, i16 beta, u8 allowNull);
