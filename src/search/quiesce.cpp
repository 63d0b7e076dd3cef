#include "search/quiesce.h"

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/generate_captures.h"
#include "movegen/exchange.h"
#include "movegen/generate_evasions.h"
#include "search/eval_noise.h"
#include "search/move_order.h"
#include "search/score.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/searcher.h"
#include "search/table_probe.h"

namespace {

// The killers lift captures without taking them past better ones.
constexpr int FIRST_KILLER_BONUS = 1500;
constexpr int SECOND_KILLER_BONUS = 1000;
// Below this and with no pawn left, nobody can mate.
constexpr int MATING_MATERIAL = 4;

bool NoMatingMaterial(Position& pos) {
  return pos.TotalMaterial < MATING_MATERIAL && pos.PawnCount[WHITE] == 0 && pos.PawnCount[BLACK] == 0;
}

bool TakesKing(Position& pos, Move move) {
  int victim = pos.Board[MoveTo(move)];
  return victim == WHITE_KING || victim == BLACK_KING;
}

void MarkCaptures(MoveEntry* start, MoveEntry* end, const PlyRecord& node) {
  for (MoveEntry* entry = start; entry < end; ++entry) {
    if (entry->move == node.hashMove) {
      entry->score = HASH_MOVE_SCORE;
    } else if (entry->move == node.killer1) {
      entry->score = static_cast<i16>(entry->score + FIRST_KILLER_BONUS);
    } else if (entry->move == node.killer2) {
      entry->score = static_cast<i16>(entry->score + SECOND_KILLER_BONUS);
    }
  }
}

// The score of a move just made, for the side that made it.
i16 ScoreAfterMove(Searcher& s, Position& pos, i32 depth, i32 ply, i16 alpha, i16 beta) {
  if (depth <= QUIESCE_DEPTH_LIMIT || ply >= LAST_SEARCH_PLY) {
    return Negate(EvaluateAtNode(*s.Limits, pos, Negate(beta), Negate(alpha)));
  }
  if (NoMatingMaterial(pos)) return DRAW_SCORE;
  ++pos.UndoTop;
  i16 score = Negate(Quiesce(s, pos, depth - 1, ply + 1, Negate(beta), Negate(alpha)));
  --pos.UndoTop;
  return score;
}

}  // namespace

i16 Quiesce(Searcher& s, Position& pos, i32 depth, i32 ply, i16 alpha, i16 beta) {
  if (static_cast<u32>(ply) > s.SelectiveDepth) s.SelectiveDepth = static_cast<u32>(ply);
  UndoRecord& record = *pos.UndoTop;
  PlyRecord& node = PlyRecordAt(s, pos, ply);
  const int side = static_cast<int>(pos.SideToMove);
  const bool checkedOnLine = s.InCheckCount[side] != 0;
  if (checkedOnLine) {
    FindCheckers(pos, record);
  } else {
    record.checkers = 0;  // not looked for: the side stands pat even in check
  }
  const bool inCheck = record.checkers != 0;
  // The evaluation does not depend on the table or the window: it is taken
  // while the table's bucket is on its way from memory, and only used when
  // the table does not answer for the node.
  PrefetchCurrentTransBucket(pos);
  const i16 stand = inCheck ? SCORE_ILLEGAL : EvaluateAtNode(*s.Limits, pos, alpha, beta);

  // Every entry is deep enough for a node of depth 0 or less.
  if (ProbeIntoRecord(pos, node)) {
    if (EntryDecides(node, alpha, beta)) return node.ttScore;
    NarrowByEntry(node, alpha, beta);
  }

  MoveEntry* const start = (&node - 1)->listEnd;
  i16 best = SCORE_ILLEGAL;
  if (inCheck) {
    node.listEnd = GenerateEvasions[side](pos, start, record);
  } else {
    best = stand;
    if (stand > alpha) {
      if (stand >= beta) {
        StoreTransTable(pos, NO_MOVE, stand, 0, BOUND_LOWER);
        return stand;
      }
      alpha = stand;
    }
    node.listEnd = GenerateCaptures[side](pos, start);
  }
  SavePositionForUndo(pos, record);
  MarkCaptures(start, node.listEnd, node);

  u32 bound = BOUND_UPPER;
  Move bestMove = NO_MOVE;
  for (MoveEntry* next = start; next < node.listEnd; ++next) {
    MoveEntry& entry = SelectNextMove(next, node.listEnd);
    const Move move = entry.move;
    if (TakesKing(pos, move)) {
      StoreTransTable(pos, move, SCORE_KING_CAPTURE, 0, BOUND_EXACT);
      return SCORE_KING_CAPTURE;
    }
    // A capture that loses material in the exchange on its square cannot
    // beat the standing score that the side keeps by not capturing.
    if (!inCheck && Uses(*s.Limits, QUIESCE_EXCHANGE_PRUNING) && ExchangeLoss(pos, move) > 0) continue;
    MakeMove(pos, move, record);
    const i16 score = ScoreAfterMove(s, pos, depth, ply, alpha, beta);
    UnmakeMove(pos, move, record);
    entry.score = score;

    if (score > best) {
      if (score > alpha) {
        if (score >= beta) {
          RememberKiller(node, move);
          StoreTransTable(pos, move, score, 0, BOUND_LOWER);
          return score;
        }
        alpha = score;
        bound = BOUND_EXACT;
      }
      best = score;
      bestMove = move;
    }
  }

  if (!checkedOnLine) {
    StoreTransTable(pos, bestMove, best, 0, bound);
    return best;
  }
  if (best == SCORE_ILLEGAL) {  // in check, and every evasion was illegal
    const i16 mated = MatedAtPly(ply);
    StoreTransTable(pos, GAME_MATED, mated, 0, BOUND_EXACT);
    return mated;
  }
  if (inCheck) {
    StoreTransTable(pos, bestMove, best, 1, bound);
  } else if (bestMove != NO_MOVE) {
    StoreTransTable(pos, bestMove, best, 0, bound);
  }
  return best;
}
