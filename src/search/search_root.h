// One iteration's search of the root position's moves.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "search/searcher.h"

// Searches every root move IterationDepth plies deep within (alpha, beta) and
// returns the best score (fail-soft). The root list lies at the bottom of
// the searcher's MoveStack and is generated on the first call of a Think (when the root
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
i16 SearchRoot(Searcher& s, Position& pos, i16 alpha, i16 beta, u32 line = 0);
