// The quiescence search: captures and queen promotions at the leaves of the
// main search, so that positions are evaluated only when they are quiet.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "search/searcher.h"

// The capture-depth limit: a node this many captures below the main search
// scores its captures by the evaluation of the position they reach.
constexpr int QUIESCE_DEPTH_LIMIT = -8;

// The last ply that has a record of its own: moves made there are scored by
// the evaluation of the position they reach.
constexpr int LAST_SEARCH_PLY = 135;

// Fail-soft score of the current position for the side to move, within the
// window (alpha, beta). depth is 0 below the main search and one less per
// capture; ply is the distance from the root, whose record UndoTop points at.
// A side that was in check earlier on the line (InCheckCount) and is in check
// here answers the check with every evasion; otherwise it may stand pat. A
// position in which the enemy king can be taken scores SCORE_KING_CAPTURE. The
// position is unchanged on return.
i16 Quiesce(Searcher& s, Position& pos, i32 depth, i32 ply, i16 alpha, i16 beta);
