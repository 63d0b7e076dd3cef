#include "search/alpha_beta.h"

#include "board/check.h"
#include "search/search_limits.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"
#include "search/draw.h"
#include "search/move_order.h"
#include "search/null_move.h"
#include "search/quiesce.h"
#include "search/score.h"
#include "search/search_state.h"
#include "search/search_stop.h"
#include "search/table_probe.h"
#include "search/think.h"
#include "search/try_move.h"
#include "search/trans_table.h"

namespace {

// Null move: the reply is searched this much shallower, one ply more with
// at least a queen's worth of pieces and depth enough.
constexpr int NULL_REDUCTION = 2;
constexpr int DEEP_NULL_REDUCTION = 3;
constexpr int DEEP_NULL_DEPTH = 7;
constexpr int DEEP_NULL_MATERIAL = 9;
// Internal iterative deepening searches this much shallower for a first move.
constexpr int IID_REDUCTION = 2;

// The window may be narrowed by the table except at the root's depth while
// the root searches again after an aspiration failure.
bool MayNarrow(i32 depth) {
  return RootResearchFlag == 0 || depth != static_cast<i32>(IterationDepth);
}

// The table's entry for the node. True when it ends the node with ttScore; a
// hash move that would repeat a position is not trusted to.
bool TableEndsNode(UndoRecord& record, i32 depth, i16& alpha, i16& beta) {
  if (!ProbeIntoRecord(record) || record.ttDepth < depth) return false;
  if (EntryDecides(record, alpha, beta)) return RepetitionAfterMove(record.hashMove) == 0;
  if (MayNarrow(depth)) NarrowByEntry(record, alpha, beta);
  return false;
}

int NullReduction(i32 depth) {
  return depth >= DEEP_NULL_DEPTH && PieceMaterial[SideToMove] >= DEEP_NULL_MATERIAL
             ? DEEP_NULL_REDUCTION
             : NULL_REDUCTION;
}

// A shallow table entry that already says the node stays below beta makes
// the null move pointless.
bool NullMovePointless(const UndoRecord& record, i32 depth, int reduction, i16 beta) {
  return record.ttDepth != 0 && record.ttDepth >= depth - reduction - 1 && record.ttScore < beta &&
         (record.ttBound == BOUND_EXACT || record.ttBound == BOUND_UPPER);
}

// Passes the move and searches the reply with a null window at beta. The
// score is for the side that passed.
i16 NullMoveScore(UndoRecord& record, i32 depth, int reduction, i32 ply, i16 beta) {
  if (record.listEnd == nullptr) record.listEnd = (&record - 1)->listEnd;
  MakeNullMove(record);
  ++UndoTop;
  UndoTop->listEnd = nullptr;
  const i16 nullAlpha = Negate(beta), nullBeta = static_cast<i16>(-beta + 1);
  const i16 score = reduction + 1 < depth
                        ? Negate(AlphaBeta(depth - reduction - 1, ply + 1, nullAlpha, nullBeta, 0))
                        : Negate(Quiesce(0, ply + 1, nullAlpha, nullBeta));
  --UndoTop;
  UnmakeNullMove(record);
  record.listEnd = nullptr;
  return score;
}

// After the null move: the clock alone is looked at, and the next look stays due.
bool StoppedAfterNullMove() {
  if (!PollDue()) return false;
  if (!StopSearch && TimeIsUp()) StopSearch = true;
  return StopSearch;
}

void GenerateNodeList(UndoRecord& record) {
  MoveEntry* start = (&record - 1)->listEnd;
  record.listEnd = record.checkers ? GenerateEvasions[SideToMove](start, record)
                                   : GenerateAll[SideToMove](start);
  SavePositionForUndo(record);
}

// The score of a legal move just made, for the side that made it. Once alpha
// was raised, a null window first tests whether the move beats it.
i16 SearchMove(i32 newDepth, i32 ply, i16 alpha, i16 beta, bool alphaRaised) {
  if (DrawCheck(TREE_REPEATS) != NO_MOVE) return DRAW_SCORE;
  UndoTop->listEnd = nullptr;
  if (newDepth < MIN_FULL_DEPTH || ply > LAST_FULL_PLY) {
    return Negate(Quiesce(0, ply + 1, Negate(beta), Negate(alpha)));
  }
  if (alphaRaised) {
    i16 score = Negate(AlphaBeta(newDepth - 1, ply + 1, static_cast<i16>(-alpha - 1), Negate(alpha), 1));
    if (score <= alpha || score >= beta) return score;
  }
  return Negate(AlphaBeta(newDepth - 1, ply + 1, Negate(beta), Negate(alpha), 1));
}

// Counts the node as in check on the line for as long as it is searched.
class CheckOnLine {
 public:
  explicit CheckOnLine(bool inCheck) : side_(static_cast<int>(SideToMove)), inCheck_(inCheck) {
    if (inCheck_) repeated_ = InCheckCount[side_]++ != 0;
  }
  ~CheckOnLine() {
    if (inCheck_) --InCheckCount[side_];
  }
  CheckOnLine(const CheckOnLine&) = delete;
  CheckOnLine& operator=(const CheckOnLine&) = delete;
  // A side in check again on the same line is searched one ply deeper.
  int Extension() const { return repeated_ ? 1 : 0; }

 private:
  int side_;
  bool inCheck_;
  bool repeated_ = false;
};

}  // namespace

i16 AlphaBeta(i32 depth, i32 ply, i16 alpha, i16 beta, u8 allowNull) {
  UndoRecord& record = *UndoTop;
  // The checkers do not depend on the table: they are found while its bucket loads.
  PrefetchCurrentTransBucket();
  FindCheckers(record);
  const bool inCheck = record.checkers != 0;
  if (TableEndsNode(record, depth, alpha, beta)) return record.ttScore;

  if (allowNull && !inCheck && PieceMaterial[SideToMove] != 0) {
    const int reduction = NullReduction(depth);
    if (!NullMovePointless(record, depth, reduction, beta)) {
      const i16 score = NullMoveScore(record, depth, reduction, ply, beta);
      if (StoppedAfterNullMove()) return SCORE_ILLEGAL;
      if (score >= beta) return score;
    }
  }

  if (record.ttDepth < depth - IID_REDUCTION) {
    AlphaBeta(depth - IID_REDUCTION, ply, alpha, beta, allowNull);
    if (const TransEntry* entry = ProbeTransTable()) record.hashMove = EntryMove(*entry);
  }

  const CheckOnLine check(inCheck);
  const i32 newDepth = depth + check.Extension();
  if (record.listEnd == nullptr) GenerateNodeList(record);
  MoveEntry* const start = (&record - 1)->listEnd;
  MarkHashAndKillers(start, record.listEnd, record);

  i16 best = SCORE_ILLEGAL;
  u32 bound = BOUND_UPPER;
  Move bestMove = NO_MOVE;
  MoveOrder order = OrderOfList(start, record);
  while (MoveEntry* entry = PickNextMove(order)) {
    const Move move = entry->move;
    const bool alphaRaised = bound == BOUND_EXACT;
    const i16 score =
        TryMove(move, record, [=] { return SearchMove(newDepth, ply, alpha, beta, alphaRaised); });
    if (PollDue() && PollSaysStop()) return best;

    entry->score = score;
    if (score > best) {
      if (score > alpha) {
        if (score >= beta) {
          RewardCutoff(record, move, depth);
          StoreTransTable(move, score, depth, BOUND_LOWER);
          return score;
        }
        alpha = score;
        bound = BOUND_EXACT;
      }
      best = score;
      bestMove = move;
    }
  }

  if (best > SCORE_ILLEGAL) {
    StoreTransTable(bestMove, best, depth, bound);
    return best;
  }
  if (inCheck) {
    const i16 mated = MatedAtPly(ply);
    StoreTransTable(GAME_MATED, mated, depth, BOUND_EXACT);
    return mated;
  }
  StoreTransTable(GAME_STALEMATE, DRAW_SCORE, depth, BOUND_EXACT);
  return DRAW_SCORE;
}
