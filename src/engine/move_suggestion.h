// A move to suggest to the player when the search has none to offer yet.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// How deep the search for a suggestion looks: a few milliseconds in any position.
constexpr u8 SUGGESTION_DEPTH = 4;

// The book's move for the position on the board, else the best move of a
// quiet search of SUGGESTION_DEPTH; 0 when the side to move has no legal
// move. The search settings, BestMove and BestScore are as they were.
Move SuggestedMove(Engine& engine);
