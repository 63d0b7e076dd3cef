// How the searchers read the transposition table at a node: the entry is
// copied into the node's record, then either decides the node or narrows its
// window.
#pragma once

#include "board/position.h"
#include "search/search_stack.h"
#include "search/trans_table.h"

// Copies move, score, bound and depth of the current position's entry into
// record (hashMove, ttScore, ttBound, ttDepth). On a miss hashMove and ttDepth
// are 0 and false is returned.
inline bool ProbeIntoRecord(Position& pos, PlyRecord& node) {
  TransEntry entry;
  if (!FindInTransTable(pos, entry)) {
    node.hashMove = NO_MOVE;
    node.ttDepth = 0;
    return false;
  }
  node.hashMove = EntryMove(entry);
  node.ttScore = ScoreOutOfTable(EntryScore(entry), CurrentPly(pos));
  node.ttBound = EntryBound(entry);
  node.ttDepth = static_cast<u8>(EntryDepth(entry));
  return true;
}

// For an entry deep enough for the node: true when its score is the node's
// answer (exact, a lower bound at or above beta, an upper bound at or below alpha).
inline bool EntryDecides(const PlyRecord& node, i16 alpha, i16 beta) {
  return node.ttBound == BOUND_EXACT || (node.ttBound == BOUND_LOWER && node.ttScore >= beta) ||
         (node.ttBound == BOUND_UPPER && node.ttScore <= alpha);
}

// Otherwise a lower bound above alpha raises alpha, an upper bound below beta lowers beta.
inline void NarrowByEntry(const PlyRecord& node, i16& alpha, i16& beta) {
  if (node.ttBound == BOUND_LOWER && node.ttScore > alpha) alpha = node.ttScore;
  if (node.ttBound == BOUND_UPPER && node.ttScore < beta) beta = node.ttScore;
}
