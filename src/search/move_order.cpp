#include "search/move_order.h"

#include "eval/eval_side.h"
#include "eval/square_tables.h"
#include "search/search_stack.h"

namespace {

template <int C>
int SquareTableGain(Position& pos, Move move) {
  const int from = MoveFrom(move), to = MoveTo(move);
  const i16* table = SquareTableOfPiece(pos, pos.Board[from]);
  return table[EvalSide<C>::OwnView(to)] - table[EvalSide<C>::OwnView(from)];
}

}  // namespace

int QuietMoveSquareGain(Position& pos, Move move) {
  if (MoveKind(move) != KIND_QUIET) return 0;
  return pos.SideToMove == WHITE ? SquareTableGain<WHITE>(pos, move) : SquareTableGain<BLACK>(pos, move);
}

void MarkHashAndKillers(MoveEntry* start, MoveEntry* end, const PlyRecord& node) {
  for (MoveEntry* entry = start; entry < end; ++entry) {
    if (entry->move == node.hashMove) {
      entry->score = HASH_MOVE_SCORE;
    } else if (entry->move == node.killer1) {
      entry->score = FIRST_KILLER_SCORE;
    } else if (entry->move == node.killer2) {
      entry->score = SECOND_KILLER_SCORE;
    }
  }
}

void MarkCounterMove(Searcher& s, Position& pos, MoveEntry* start, MoveEntry* end) {
  const Move* slot = CounterMoveSlot(s, pos);
  if (slot == nullptr || *slot == NO_MOVE) return;
  for (MoveEntry* entry = start; entry < end; ++entry) {
    if (entry->move == *slot && entry->score < PICK_BY_SCORE_FLOOR) entry->score = COUNTER_MOVE_SCORE;
  }
}

void KeyRemainingMoves(Searcher& s, Position& pos, MoveOrder& order) {
  const bool bounded = Uses(*s.Limits, BOUNDED_HISTORY);
  const bool bySquares = Uses(*s.Limits, QUIET_SQUARE_ORDER);
  const ContinuationRow* row = Uses(*s.Limits, CONTINUATION_HISTORY) ? ContinuationRowOf(s, pos) : nullptr;
  for (MoveEntry* entry = order.next; entry < order.end; ++entry) {
    const int slot = entry->move & HISTORY_MOVE_MASK;
    u32 history = bounded ? static_cast<u32>(HISTORY_LIMIT + s.BoundedHistory[pos.SideToMove][slot])
                          : s.HistoryScores[pos.SideToMove][slot];
    if (row != nullptr) {
      const bool quiet = IsQuietOrCastling(entry->move);
      history += static_cast<u32>(HISTORY_LIMIT + (quiet ? (*row)[ContinuationSlot(pos, entry->move)] : 0));
    }
    const int squareGain = bySquares ? QuietMoveSquareGain(pos, entry->move) : 0;
    order.keys[entry - order.start] = history + static_cast<u32>(HISTORY_KEY_OFFSET + entry->score + squareGain);
  }
  order.keyed = true;
}

void PunishQuietMovesBefore(Searcher& s, Position& pos, const MoveEntry* tried, const MoveEntry* cutoff, int depth) {
  i16* bounded = s.BoundedHistory[pos.SideToMove];
  for (const MoveEntry* entry = tried; entry < cutoff; ++entry) {
    if (IsQuietOrCastling(entry->move)) NudgeHistory(bounded[entry->move & HISTORY_MOVE_MASK], -HistoryBonus(depth));
  }
}

void UpdateContinuationHistory(Searcher& s, Position& pos, const MoveEntry* tried, const MoveEntry* cutoff, int depth) {
  ContinuationRow* const row = ContinuationRowOf(s, pos);
  if (row == nullptr) return;
  for (const MoveEntry* entry = tried; entry < cutoff; ++entry) {
    if (IsQuietOrCastling(entry->move)) NudgeHistory((*row)[ContinuationSlot(pos, entry->move)], -HistoryBonus(depth));
  }
  NudgeHistory((*row)[ContinuationSlot(pos, cutoff->move)], HistoryBonus(depth));
}
