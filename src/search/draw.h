// Draws read off the position history (History, HistoryTop): repetition, the
// fifty-move rule and material too small to mate.
#pragma once

#include "board/position.h"
#include "board/types.h"

// GAME_NO_MATERIAL, GAME_FIFTY_MOVES or GAME_REPETITION when the current
// position is drawn, else 0. repeats is how many earlier occurrences of the
// position make the draw: 1 inside the search tree, 2 for a game's third
// occurrence (0 looks for no repetition).
Move DrawCheck(Position& pos, int repeats);

// The repeats asked for inside the search tree, and at the root and in the
// game, where a position is drawn at its third occurrence.
constexpr int TREE_REPEATS = 1;
constexpr int ROOT_REPEATS = 2;

// How often (0, 1 or 2, an estimate) the position after the quiet move has
// occurred before. Captures, promotions, castling and pawn moves never repeat
// and answer 0. Move 0 reads as a8-a8: for a piece on a8 it asks about the
// current key itself.
i32 RepetitionAfterMove(Position& pos, Move move);
