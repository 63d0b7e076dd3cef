// One iteration's search of the root position's moves.
#pragma once

#include "board/position.h"
#include "board/types.h"

// Searches every root move IterationDepth plies deep within (alpha, beta) and
// returns the best score (fail-soft). The root list lies at the bottom of
// MoveStack and is generated on the first call of a Think (when the root
// record's listEnd is unset) and kept: afterwards every entry's ordering score
// is the score its move got, and entry 0 holds the best move. No legal move
// puts GAME_MATED (score -8100) or GAME_STALEMATE (score 0) in entry 0. The
// root record is the one UndoTop points at, with its checkers filled. Returns
// early, with a partial score, once StopSearch is set or the time is up.
//
// With several lines, line K (counted from 0) is the best among the entries
// from K on, those the lines before it left: the entries below K stay as they
// are, the best of the rest moves to entry K. Such a line neither reads nor
// stores the root's table entry, and a list without a legal move from K on
// answers SCORE_ILLEGAL.
i16 SearchRoot(Position& pos, i16 alpha, i16 beta, u32 line = 0);

// How far the current iteration has got through the root moves, for an
// interface that asks: moves picked so far, moves in the list (legal or not),
// and the move being searched.
struct RootProgress {
  u32 tried;
  u32 total;
  Move move;
};
extern thread_local constinit RootProgress CurrentRootProgress;
