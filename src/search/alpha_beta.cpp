#include "search/alpha_beta.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "board/check.h"
#include "board/gives_check.h"
#include "movegen/generate_all.h"
#include "movegen/exchange.h"
#include "movegen/generate_evasions.h"
#include "search/draw.h"
#include "search/eval_noise.h"
#include "search/move_order.h"
#include "search/null_move.h"
#include "search/quiesce.h"
#include "search/score.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/searcher.h"
#include "search/search_stop.h"
#include "search/table_probe.h"
#include "search/think.h"
#include "search/trans_table.h"
#include "search/try_move.h"

namespace {

// Null move: the reply is searched this much shallower, one ply more with
// at least a queen's worth of pieces and depth enough.
constexpr int NULL_REDUCTION = 2;
constexpr int DEEP_NULL_REDUCTION = 3;
constexpr int DEEP_NULL_DEPTH = 7;
constexpr int DEEP_NULL_MATERIAL = 9;
// Internal iterative deepening searches this much shallower for a first move.
constexpr int IID_REDUCTION = 2;

// The modern search's additions.
// A node this shallow whose static score beats beta by a margin a ply is cut.
constexpr int REVERSE_FUTILITY_DEPTH = 6;
constexpr int REVERSE_FUTILITY_MARGIN = 80;
// The null move's reduction grows by a ply each this much depth and each this
// much the static score stands over beta (at most NULL_MARGIN_PLIES).
constexpr int ADAPTIVE_NULL_REDUCTION = 3;
constexpr int NULL_DEPTH_STEP = 4;
constexpr int NULL_MARGIN_STEP = 200;
constexpr int NULL_MARGIN_PLIES = 3;
// Quiet moves that neither check nor answer a check: at a node this shallow,
// those past 3 + depth² are not tried, and none is when the static score with
// a margin a ply stays at or below alpha.
constexpr int LATE_MOVE_PRUNING_DEPTH = 3;
constexpr int LATE_MOVE_BASE_COUNT = 3;
constexpr int FUTILITY_DEPTH = 2;
constexpr int FUTILITY_MARGIN = 150;
// At a node this shallow, a move that loses more than a margin a ply in the
// exchange on its square is not tried; a capture is allowed more.
constexpr int EXCHANGE_PRUNING_DEPTH = 3;
constexpr int QUIET_LOSS_MARGIN = 60;
constexpr int CAPTURE_LOSS_MARGIN = 100;
// From this depth, and after this many legal moves, quiet moves are searched
// shallower first, by a reduction growing with both.
constexpr int LATE_MOVE_REDUCTION_DEPTH = 3;
constexpr int LATE_MOVE_REDUCTION_MOVES = 3;
// A node whose static score is no better than two plies before reduces its
// late moves this much more.
constexpr int NOT_IMPROVING_REDUCTION = 1;
// A node this shallow whose static score stays below alpha by a margin a ply
// is settled by the quiescence search when that confirms it.
constexpr int RAZOR_DEPTH = 3;
constexpr int RAZOR_MARGIN = 250;
// Without a move from the table a node this deep is searched a ply shallower.
constexpr int INTERNAL_REDUCTION_DEPTH = 4;

constexpr int REDUCTION_TABLE_SIZE = 64;
using ReductionTable = std::array<std::array<u8, REDUCTION_TABLE_SIZE>, REDUCTION_TABLE_SIZE>;

// The reduction is base + ln(depth) · ln(moves) / divisor, rounded down.
ReductionTable ReductionsOf(double base, double divisor) {
  ReductionTable table{};
  for (int depth = 1; depth < REDUCTION_TABLE_SIZE; ++depth) {
    for (int moves = 1; moves < REDUCTION_TABLE_SIZE; ++moves) {
      table[depth][moves] = static_cast<u8>(base + std::log(depth) * std::log(moves) / divisor);
    }
  }
  return table;
}

const ReductionTable LateMoveReductions = ReductionsOf(0.75, 2.25);
// About a ply deeper where depth and moves are large.
const ReductionTable DeeperReductions = ReductionsOf(1.0, 2.0);

int LateMoveReduction(Searcher& s, int depth, int moves) {
  const ReductionTable& table = Uses(*s.Limits, DEEPER_REDUCTIONS) ? DeeperReductions : LateMoveReductions;
  return table[std::min(depth, REDUCTION_TABLE_SIZE - 1)][std::min(moves, REDUCTION_TABLE_SIZE - 1)];
}

// True when the node's static score beats the one of its side two plies
// before, or either is unknown (in check, or at the root).
bool Improving(Searcher& s, i32 ply, i16 staticScore) {
  s.StaticScoreAtPly[ply] = staticScore;
  return ply < 3 || staticScore == SCORE_ILLEGAL || staticScore > s.StaticScoreAtPly[ply - 2];
}

bool IsQuietMove(Move move) { return MoveKind(move) == KIND_QUIET || IsCastling(move); }

void RememberCounterMove(Searcher& s, Position& pos, Move move) {
  if (Move* slot = CounterMoveSlot(s, pos)) *slot = move;
}

// The window may be narrowed by the table except at the root's depth while
// the root searches again after an aspiration failure, and, in the modern
// search, except at a principal-variation node: a node that fails low within
// a window the table narrowed returns a bound its parent would take as exact.
bool MayNarrow(Searcher& s, i32 depth, i16 alpha, i16 beta) {
  if (Uses(*s.Limits, UNNARROWED_WINDOW) && beta - alpha > 1) return false;
  return s.RootResearchFlag == 0 || depth != static_cast<i32>(s.IterationDepth);
}

// The table's entry for the node. True when it ends the node with ttScore; a
// hash move that would repeat a position is not trusted to.
bool TableEndsNode(Searcher& s, Position& pos, PlyRecord& node, i32 depth, i16& alpha, i16& beta) {
  if (!ProbeIntoRecord(pos, node) || node.ttDepth < depth) return false;
  if (EntryDecides(node, alpha, beta)) return RepetitionAfterMove(pos, node.hashMove) == 0;
  if (MayNarrow(s, depth, alpha, beta)) NarrowByEntry(node, alpha, beta);
  return false;
}

// The quiescence search's verdict on a node far below alpha: its score when
// it stays at or below alpha. Otherwise the node is searched as usual, its
// list of moves still to make.
std::optional<i16> RazoredScore(Searcher& s, Position& pos, PlyRecord& node, i32 ply, i16 alpha) {
  const i16 score = Quiesce(s, pos, 0, ply, alpha, static_cast<i16>(alpha + 1));
  node.listEnd = nullptr;
  if (score <= alpha) return score;
  return std::nullopt;
}

int NullReduction(Position& pos, i32 depth) {
  return depth >= DEEP_NULL_DEPTH && pos.PieceMaterial[pos.SideToMove] >= DEEP_NULL_MATERIAL ? DEEP_NULL_REDUCTION
                                                                                             : NULL_REDUCTION;
}

int AdaptiveNullReduction(i32 depth, int marginOverBeta) {
  return ADAPTIVE_NULL_REDUCTION + depth / NULL_DEPTH_STEP + std::min(NULL_MARGIN_PLIES, marginOverBeta / NULL_MARGIN_STEP);
}

// A shallow table entry that already says the node stays below beta makes
// the null move pointless.
bool NullMovePointless(const PlyRecord& node, i32 depth, int reduction, i16 beta) {
  return node.ttDepth != 0 && node.ttDepth >= depth - reduction - 1 && node.ttScore < beta &&
         (node.ttBound == BOUND_EXACT || node.ttBound == BOUND_UPPER);
}

// Passes the move and searches the reply with a null window at beta. The
// score is for the side that passed.
i16 NullMoveScore(Searcher& s, Position& pos, UndoRecord& record, PlyRecord& node, i32 depth, int reduction, i32 ply, i16 beta) {
  if (node.listEnd == nullptr) node.listEnd = (&node - 1)->listEnd;
  MakeNullMove(pos, record);
  ++pos.UndoTop;
  PlyRecordAt(s, pos, ply + 1).listEnd = nullptr;
  const i16 nullAlpha = Negate(beta), nullBeta = static_cast<i16>(-beta + 1);
  const i16 score = reduction + 1 < depth
                        ? Negate(AlphaBeta(s, pos, depth - reduction - 1, ply + 1, nullAlpha, nullBeta, 0))
                        : Negate(Quiesce(s, pos, 0, ply + 1, nullAlpha, nullBeta));
  --pos.UndoTop;
  UnmakeNullMove(pos, record);
  node.listEnd = nullptr;
  return score;
}

// After the null move: the clock alone is looked at, and the next look stays due.
bool StoppedAfterNullMove(Searcher& s, Position& pos) {
  if (!PollDue(s, pos)) return false;
  if (!StopSearch && TimeIsUp(s, pos)) StopSearch = true;
  return StopSearch;
}

void GenerateNodeList(Position& pos, UndoRecord& record, PlyRecord& node) {
  MoveEntry* start = (&node - 1)->listEnd;
  node.listEnd =
      record.checkers ? GenerateEvasions[pos.SideToMove](pos, start, record) : GenerateAll[pos.SideToMove](pos, start);
  SavePositionForUndo(pos, record);
}

// The score of a legal move just made, for the side that made it. A reduced
// move is first searched that much shallower with a null window, and again in
// full only when it beats alpha. Once alpha was raised, a null window first
// tests whether the move beats it.
i16 SearchMove(Searcher& s, Position& pos, i32 newDepth, i32 ply, i16 alpha, i16 beta, bool alphaRaised, int reduction = 0) {
  if (DrawCheck(pos, TREE_REPEATS) != NO_MOVE) return DRAW_SCORE;
  PlyRecordAt(s, pos, ply + 1).listEnd = nullptr;
  if (newDepth < MIN_FULL_DEPTH || ply > LAST_FULL_PLY) {
    return Negate(Quiesce(s, pos, 0, ply + 1, Negate(beta), Negate(alpha)));
  }
  if (reduction > 0) {
    const i32 reduced = newDepth - reduction;
    const i16 nullAlpha = static_cast<i16>(-alpha - 1), nullBeta = Negate(alpha);
    const i16 score = reduced < MIN_FULL_DEPTH ? Negate(Quiesce(s, pos, 0, ply + 1, nullAlpha, nullBeta))
                                               : Negate(AlphaBeta(s, pos, reduced - 1, ply + 1, nullAlpha, nullBeta, 1));
    if (score <= alpha || StopSearch) return score;
    PlyRecordAt(s, pos, ply + 1).listEnd = nullptr;  // the shallower search may have left a list of captures alone
  }
  if (alphaRaised) {
    i16 score = Negate(AlphaBeta(s, pos, newDepth - 1, ply + 1, static_cast<i16>(-alpha - 1), Negate(alpha), 1));
    if (score <= alpha || score >= beta) return score;
  }
  return Negate(AlphaBeta(s, pos, newDepth - 1, ply + 1, Negate(beta), Negate(alpha), 1));
}

// What the modern search knows of a node when it decides on a move.
struct LateMoveContext {
  i32 depth;
  bool pvNode;
  bool mayPrune;  // neither a principal-variation node nor in check
  i16 staticScore;
  bool improving;
};

bool LosesExchange(Position& pos, const LateMoveContext& node, Move move) {
  const int margin = IsQuietMove(move) ? QUIET_LOSS_MARGIN : CAPTURE_LOSS_MARGIN;
  return ExchangeLoss(pos, move) > margin * node.depth;
}

bool PrunedByRule(Searcher& s, Position& pos, const LateMoveContext& node, Move move, int movesBefore, i16 alpha) {
  if (IsQuietMove(move)) {
    if (Uses(*s.Limits, LATE_MOVE_PRUNING) && node.depth <= LATE_MOVE_PRUNING_DEPTH &&
        movesBefore >= LATE_MOVE_BASE_COUNT + node.depth * node.depth) {
      return true;
    }
    if (Uses(*s.Limits, FUTILITY_PRUNING) && node.depth <= FUTILITY_DEPTH &&
        node.staticScore + FUTILITY_MARGIN * node.depth <= alpha) {
      return true;
    }
  }
  return Uses(*s.Limits, EXCHANGE_PRUNING) && node.depth <= EXCHANGE_PRUNING_DEPTH && LosesExchange(pos, node, move);
}

// A move not yet made, not the table's move nor a killer, after movesBefore
// moves: passed over, unmade and uncounted, when a quiet move falls to the
// late-move or futility rule or any move to the exchange rule. A move that
// may check is always searched, and so is every move while the node has
// nothing better than being mated.
bool PassesOver(Searcher& s, Position& pos, const LateMoveContext& node, Move move, int movesBefore, i16 alpha, i16 best) {
  if (!node.mayPrune || movesBefore == 0 || best <= -MATE_SCORE_LIMIT) return false;
  return PrunedByRule(s, pos, node, move, movesBefore, alpha) && !MayGiveCheck(pos, move);
}

// A quiet move just made, not the table's move nor a killer, after
// movesBefore legal moves: searched, reduced when it is late enough. A move
// that checks is always searched in full.
i16 SearchQuietMove(Searcher& s, Position& pos, const LateMoveContext& context, i32 newDepth, i32 ply, i16 alpha, i16 beta,
                    bool alphaRaised, int movesBefore) {
  FindCheckers(pos, *pos.UndoTop);
  if (pos.UndoTop->checkers != 0 || movesBefore == 0) return SearchMove(s, pos, newDepth, ply, alpha, beta, alphaRaised);
  int reduction = 0;
  if (Uses(*s.Limits, LATE_MOVE_REDUCTIONS) && context.depth >= LATE_MOVE_REDUCTION_DEPTH &&
      movesBefore >= LATE_MOVE_REDUCTION_MOVES) {
    reduction = LateMoveReduction(s, context.depth, movesBefore) - (context.pvNode ? 1 : 0);
    if (Uses(*s.Limits, IMPROVING) && !context.improving) reduction += NOT_IMPROVING_REDUCTION;
    reduction = std::max(0, reduction);
  }
  return SearchMove(s, pos, newDepth, ply, alpha, beta, alphaRaised, reduction);
}

// Counts the node as in check on the line for as long as it is searched.
class CheckOnLine {
 public:
  CheckOnLine(Searcher& s, const Position& pos, bool inCheck)
      : count_(s.InCheckCount[pos.SideToMove]), inCheck_(inCheck) {
    if (inCheck_) repeated_ = count_++ != 0;
  }
  ~CheckOnLine() {
    if (inCheck_) --count_;
  }
  CheckOnLine(const CheckOnLine&) = delete;
  CheckOnLine& operator=(const CheckOnLine&) = delete;
  // A side in check again on the same line is searched one ply deeper.
  int Extension() const { return repeated_ ? 1 : 0; }

 private:
  u32& count_;
  bool inCheck_;
  bool repeated_ = false;
};

}  // namespace

i16 AlphaBeta(Searcher& s, Position& pos, i32 depth, i32 ply, i16 alpha, i16 beta, u8 allowNull) {
  UndoRecord& record = *pos.UndoTop;
  PlyRecord& node = PlyRecordAt(s, pos, ply);
  // The checkers do not depend on the table: they are found while its bucket loads.
  PrefetchCurrentTransBucket(pos);
  FindCheckers(pos, record);
  const bool inCheck = record.checkers != 0;
  if (TableEndsNode(s, pos, node, depth, alpha, beta)) return node.ttScore;

  const bool modern = s.Limits->CurrentSearchKind == SearchKind::Modern;
  const bool pvNode = beta - alpha > 1;
  const i16 staticScore = modern && !inCheck ? EvaluateAtNode(*s.Limits, pos, alpha, beta) : SCORE_ILLEGAL;
  const bool improving = Improving(s, ply, staticScore);
  if (Uses(*s.Limits, REVERSE_FUTILITY) && !pvNode && !inCheck && depth <= REVERSE_FUTILITY_DEPTH &&
      std::abs(beta) < MATE_SCORE_LIMIT && staticScore - REVERSE_FUTILITY_MARGIN * depth >= beta) {
    return staticScore;
  }

  if (Uses(*s.Limits, RAZORING) && !pvNode && !inCheck && depth <= RAZOR_DEPTH &&
      staticScore + RAZOR_MARGIN * depth <= alpha && std::abs(alpha) < MATE_SCORE_LIMIT) {
    if (const auto score = RazoredScore(s, pos, node, ply, alpha)) return *score;
  }

  const bool adaptiveNull = Uses(*s.Limits, ADAPTIVE_NULL_MOVE);
  if (allowNull && !inCheck && pos.PieceMaterial[pos.SideToMove] != 0 && (!adaptiveNull || staticScore >= beta)) {
    const int reduction = adaptiveNull ? AdaptiveNullReduction(depth, staticScore - beta) : NullReduction(pos, depth);
    if (!NullMovePointless(node, depth, reduction, beta)) {
      const i16 score = NullMoveScore(s, pos, record, node, depth, reduction, ply, beta);
      if (StoppedAfterNullMove(s, pos)) return SCORE_ILLEGAL;
      if (score >= beta) return score;
    }
  }

  if (Uses(*s.Limits, INTERNAL_REDUCTION)) {
    if (node.hashMove == NO_MOVE && depth >= INTERNAL_REDUCTION_DEPTH) --depth;
  } else if (node.ttDepth < depth - IID_REDUCTION) {
    AlphaBeta(s, pos, depth - IID_REDUCTION, ply, alpha, beta, allowNull);
    if (const std::optional<TransEntry> entry = ProbeTransTable(pos)) node.hashMove = EntryMove(*entry);
  }

  const CheckOnLine check(s, pos, inCheck);
  const int extension = Uses(*s.Limits, CHECK_EXTENSION) ? (inCheck ? 1 : 0) : check.Extension();
  const i32 newDepth = depth + extension;
  if (node.listEnd == nullptr) GenerateNodeList(pos, record, node);
  MoveEntry* const start = (&node - 1)->listEnd;
  MarkHashAndKillers(start, node.listEnd, node);
  if (Uses(*s.Limits, COUNTER_MOVE)) MarkCounterMove(s, pos, start, node.listEnd);

  const LateMoveContext context{depth, pvNode, !pvNode && !inCheck, staticScore, improving};
  i16 best = SCORE_ILLEGAL;
  u32 bound = BOUND_UPPER;
  Move bestMove = NO_MOVE;
  int legalMoves = 0;
  MoveOrder order = OrderOfList(start, node);
  while (MoveEntry* entry = PickNextMove(s, pos, order)) {
    const Move move = entry->move;
    const bool alphaRaised = bound == BOUND_EXACT;
    const bool ordinary = modern && move != node.hashMove && move != node.killer1 && move != node.killer2;
    const bool late = ordinary && !inCheck && IsQuietMove(move);
    const int movesBefore = legalMoves;
    if (ordinary && PassesOver(s, pos, context, move, movesBefore, alpha, best)) {
      ++legalMoves;  // counted as tried, for the moves after it
      continue;
    }
    const i16 score = TryMove(pos, move, record, [&] {
      ++legalMoves;
      return late ? SearchQuietMove(s, pos, context, newDepth, ply, alpha, beta, alphaRaised, movesBefore)
                  : SearchMove(s, pos, newDepth, ply, alpha, beta, alphaRaised);
    });
    if (PollDue(s, pos) && PollSaysStop(s, pos)) return best;

    entry->score = score;
    if (score > best) {
      if (score > alpha) {
        if (score >= beta) {
          RewardCutoff(s, pos, node, move, depth);
          if (Uses(*s.Limits, BOUNDED_HISTORY) && IsQuietMove(move)) PunishQuietMovesBefore(s, pos, start, entry, depth);
          if (Uses(*s.Limits, COUNTER_MOVE) && IsQuietMove(move)) RememberCounterMove(s, pos, move);
          if (Uses(*s.Limits, CONTINUATION_HISTORY) && IsQuietMove(move)) UpdateContinuationHistory(s, pos, start, entry, depth);
          StoreTransTable(pos, move, score, depth, BOUND_LOWER);
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
    StoreTransTable(pos, bestMove, best, depth, bound);
    return best;
  }
  if (inCheck) {
    const i16 mated = MatedAtPly(ply);
    StoreTransTable(pos, GAME_MATED, mated, depth, BOUND_EXACT);
    return mated;
  }
  StoreTransTable(pos, GAME_STALEMATE, DRAW_SCORE, depth, BOUND_EXACT);
  return DRAW_SCORE;
}
