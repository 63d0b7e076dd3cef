#include "search/search_root.h"

#include <utility>

#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"
#include "search/alpha_beta.h"
#include "search/draw.h"
#include "search/move_order.h"
#include "search/root_moves.h"
#include "search/score.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/search_stack.h"
#include "search/search_stop.h"
#include "search/table_probe.h"
#include "search/think.h"
#include "search/trans_table.h"
#include "search/try_move.h"


namespace {

// The table may answer the whole iteration when its move is the one that
// stands first already; otherwise it narrows the window, unless the root is
// searching again after an aspiration failure or the modern search keeps
// its window (alpha_beta.cpp says why).
bool TableAnswersRoot(Searcher& s, Position& pos, PlyRecord& rootNode, i16& alpha, i16& beta) {
  if (!ProbeIntoRecord(pos, rootNode) || rootNode.ttDepth < static_cast<int>(s.IterationDepth)) return false;
  if (EntryDecides(rootNode, alpha, beta)) {
    if (rootNode.hashMove != s.MoveStack[0].move) return false;
    s.MoveStack[0].score = rootNode.ttScore;
    return true;
  }
  if (s.RootResearchFlag == 0 && !Uses(*s.Limits, UNNARROWED_WINDOW)) NarrowByEntry(rootNode, alpha, beta);
  return false;
}

void GenerateRootList(Searcher& s, Position& pos, UndoRecord& root, PlyRecord& rootNode) {
  MoveEntry* const end = root.checkers ? GenerateEvasions[pos.SideToMove](pos, s.MoveStack, root)
                                       : GenerateAll[pos.SideToMove](pos, s.MoveStack);
  rootNode.listEnd = KeepAllowedRootMoves(*s.Limits, s.MoveStack, end);
  SavePositionForUndo(pos, root);
}

// A search of some root moves only has no score for the position to store.
void StoreRootResult(Searcher& s, Position& pos, Move move, i16 score, int depth, u32 bound) {
  if (!RootMovesRestricted(*s.Limits)) StoreTransTable(pos, move, score, depth, bound);
}

// The score of a legal root move just made.
i16 SearchRootMove(Searcher& s, Position& pos, i16 alpha, i16 beta, bool alphaRaised) {
  if (DrawCheck(pos, ROOT_REPEATS) != NO_MOVE) return DRAW_SCORE;
  PlyRecordOf(s, pos).listEnd = nullptr;
  const i32 depth = static_cast<i32>(s.IterationDepth) - 1;
  if (alphaRaised) {
    i16 score = Negate(AlphaBeta(s, pos, depth, 1, static_cast<i16>(-alpha - 1), Negate(alpha), 1));
    if (score <= alpha || score >= beta) return score;
  }
  return Negate(AlphaBeta(s, pos, depth, 1, Negate(beta), Negate(alpha), 1));
}

// No legal move: the result code stands first, with its score.
i16 RootWithoutMoves(Searcher& s, Position& pos, const UndoRecord& root, PlyRecord& rootNode) {
  rootNode.listEnd = nullptr;
  const bool mated = root.checkers != 0;
  const Move result = mated ? GAME_MATED : GAME_STALEMATE;
  const i16 score = mated ? MatedAtPly(0) : DRAW_SCORE;
  s.MoveStack[0] = {score, result};
  StoreRootResult(s, pos, result, score, static_cast<int>(s.IterationDepth), BOUND_EXACT);
  return score;
}

}  // namespace

i16 SearchRoot(Searcher& s, Position& pos, i16 alpha, i16 beta, u32 line) {
  UndoRecord& root = *pos.UndoTop;
  PlyRecord& rootNode = PlyRecordOf(s, pos);
  const bool bestLine = line == 0;
  if (bestLine && TableAnswersRoot(s, pos, rootNode, alpha, beta)) return rootNode.ttScore;
  if (rootNode.listEnd == nullptr) {
    // A root without moves has its result in entry 0 and no list.
    if (!bestLine) return SCORE_ILLEGAL;
    GenerateRootList(s, pos, root, rootNode);
  }
  MoveEntry* const first = s.MoveStack + line;
  if (first >= rootNode.listEnd) return SCORE_ILLEGAL;
  MarkHashAndKillers(first, rootNode.listEnd, rootNode);

  const int depth = static_cast<int>(s.IterationDepth);
  i16 best = SCORE_ILLEGAL;
  u32 bound = BOUND_UPPER;
  MoveEntry* bestEntry = nullptr;
  MoveOrder order = OrderOfList(first, rootNode);
  s.CurrentRootProgress = {0, static_cast<u32>(rootNode.listEnd - first), NO_MOVE};
  while (MoveEntry* entry = PickNextMove(s, pos, order)) {
    const Move move = entry->move;
    s.CurrentRootProgress.tried++;
    s.CurrentRootProgress.move = move;
    const bool alphaRaised = bound == BOUND_EXACT;
    const i16 score = TryMove(pos, move, root, [=, &s, &pos] { return SearchRootMove(s, pos, alpha, beta, alphaRaised); });
    // The clock is looked at after every root move; the input only in the tree.
    if (StopSearch) return best;
    if (TimeIsUp(s, pos)) {
      StopSearch = true;
      return best;
    }

    entry->score = score;
    if (score > best) {
      bestEntry = entry;
      best = score;
    }
    if (score > alpha) {
      if (score >= beta) {
        RewardCutoff(s, pos, rootNode, move, depth);
        // The other lines leave some moves out: they say nothing of the position.
        if (bestLine) StoreRootResult(s, pos, move, score, depth, BOUND_LOWER);
        std::swap(*bestEntry, *first);
        return score;
      }
      alpha = score;
      bound = BOUND_EXACT;
    }
  }

  if (best == SCORE_ILLEGAL) return bestLine ? RootWithoutMoves(s, pos, root, rootNode) : SCORE_ILLEGAL;
  if (bestLine) StoreRootResult(s, pos, bestEntry->move, best, depth, bound);
  std::swap(*bestEntry, *first);
  return best;
}
