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
#include "search/search_stop.h"
#include "search/table_probe.h"
#include "search/think.h"
#include "search/try_move.h"
#include "search/trans_table.h"

RootProgress CurrentRootProgress;

namespace {

// The table may answer the whole iteration when its move is the one that
// stands first already; otherwise it narrows the window, unless the root is
// searching again after an aspiration failure or the modern search keeps
// its window (alpha_beta.cpp says why).
bool TableAnswersRoot(UndoRecord& root, i16& alpha, i16& beta) {
  if (!ProbeIntoRecord(root) || root.ttDepth < static_cast<int>(IterationDepth)) return false;
  if (EntryDecides(root, alpha, beta)) {
    if (root.hashMove != MoveStack[0].move) return false;
    MoveStack[0].score = root.ttScore;
    return true;
  }
  if (RootResearchFlag == 0 && !Uses(UNNARROWED_WINDOW)) NarrowByEntry(root, alpha, beta);
  return false;
}

void GenerateRootList(UndoRecord& root) {
  MoveEntry* const end = root.checkers ? GenerateEvasions[SideToMove](MoveStack, root)
                                       : GenerateAll[SideToMove](MoveStack);
  root.listEnd = KeepAllowedRootMoves(MoveStack, end);
  SavePositionForUndo(root);
}

// A search of some root moves only has no score for the position to store.
void StoreRootResult(Move move, i16 score, int depth, u32 bound) {
  if (!RootMovesRestricted()) StoreTransTable(move, score, depth, bound);
}

// The score of a legal root move just made.
i16 SearchRootMove(i16 alpha, i16 beta, bool alphaRaised) {
  if (DrawCheck(ROOT_REPEATS) != NO_MOVE) return DRAW_SCORE;
  UndoTop->listEnd = nullptr;
  const i32 depth = static_cast<i32>(IterationDepth) - 1;
  if (alphaRaised) {
    i16 score = Negate(AlphaBeta(depth, 1, static_cast<i16>(-alpha - 1), Negate(alpha), 1));
    if (score <= alpha || score >= beta) return score;
  }
  return Negate(AlphaBeta(depth, 1, Negate(beta), Negate(alpha), 1));
}

// No legal move: the result code stands first, with its score.
i16 RootWithoutMoves(UndoRecord& root) {
  root.listEnd = nullptr;
  const bool mated = root.checkers != 0;
  const Move result = mated ? GAME_MATED : GAME_STALEMATE;
  const i16 score = mated ? MatedAtPly(0) : DRAW_SCORE;
  MoveStack[0] = {score, result};
  StoreRootResult(result, score, static_cast<int>(IterationDepth), BOUND_EXACT);
  return score;
}

}  // namespace

i16 SearchRoot(i16 alpha, i16 beta, u32 line) {
  UndoRecord& root = *UndoTop;
  const bool bestLine = line == 0;
  if (bestLine && TableAnswersRoot(root, alpha, beta)) return root.ttScore;
  if (root.listEnd == nullptr) {
    // A root without moves has its result in entry 0 and no list.
    if (!bestLine) return SCORE_ILLEGAL;
    GenerateRootList(root);
  }
  MoveEntry* const first = MoveStack + line;
  if (first >= root.listEnd) return SCORE_ILLEGAL;
  MarkHashAndKillers(first, root.listEnd, root);

  const int depth = static_cast<int>(IterationDepth);
  i16 best = SCORE_ILLEGAL;
  u32 bound = BOUND_UPPER;
  MoveEntry* bestEntry = nullptr;
  MoveOrder order = OrderOfList(first, root);
  CurrentRootProgress = {0, static_cast<u32>(root.listEnd - first), NO_MOVE};
  while (MoveEntry* entry = PickNextMove(order)) {
    const Move move = entry->move;
    CurrentRootProgress.tried++;
    CurrentRootProgress.move = move;
    const bool alphaRaised = bound == BOUND_EXACT;
    const i16 score = TryMove(move, root, [=] { return SearchRootMove(alpha, beta, alphaRaised); });
    // The clock is looked at after every root move; the input only in the tree.
    if (StopSearch) return best;
    if (TimeIsUp()) {
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
        RewardCutoff(root, move, depth);
        // The other lines leave some moves out: they say nothing of the position.
        if (bestLine) StoreRootResult(move, score, depth, BOUND_LOWER);
        std::swap(*bestEntry, *first);
        return score;
      }
      alpha = score;
      bound = BOUND_EXACT;
    }
  }

  if (best == SCORE_ILLEGAL) return bestLine ? RootWithoutMoves(root) : SCORE_ILLEGAL;
  if (bestLine) StoreRootResult(bestEntry->move, best, depth, bound);
  std::swap(*bestEntry, *first);
  return best;
}
