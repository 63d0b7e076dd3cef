// How the searchers read the transposition table at a node: the entry is
// copied into the node's record, then either decides the node or narrows its
// window.
#pragma once

#include "board/position.h"
#include "search/trans_table.h"

// Copies move, score, bound and depth of the current position's entry into
// record (hashMove, ttScore, ttBound, ttDepth). On a miss hashMove and ttDepth
// are 0 and false is returned.
bool ProbeIntoRecord(Position& pos, UndoRecord& record);

// For an entry deep enough for the node: true when its score is the node's
// answer (exact, a lower bound at or above beta, an upper bound at or below alpha).
inline bool EntryDecides(const UndoRecord& record, i16 alpha, i16 beta) {
  return record.ttBound == BOUND_EXACT || (record.ttBound == BOUND_LOWER && record.ttScore >= beta) ||
         (record.ttBound == BOUND_UPPER && record.ttScore <= alpha);
}

// Otherwise a lower bound above alpha raises alpha, an upper bound below beta lowers beta.
inline void NarrowByEntry(const UndoRecord& record, i16& alpha, i16& beta) {
  if (record.ttBound == BOUND_LOWER && record.ttScore > alpha) alpha = record.ttScore;
  if (record.ttBound == BOUND_UPPER && record.ttScore < beta) beta = record.ttScore;
}
