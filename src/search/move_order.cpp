#include "search/move_order.h"

void MarkHashAndKillers(MoveEntry* start, MoveEntry* end, const UndoRecord& record) {
  for (MoveEntry* entry = start; entry < end; ++entry) {
    if (entry->move == record.hashMove) {
      entry->score = HASH_MOVE_SCORE;
    } else if (entry->move == record.killer1) {
      entry->score = FIRST_KILLER_SCORE;
    } else if (entry->move == record.killer2) {
      entry->score = SECOND_KILLER_SCORE;
    }
  }
}

void MarkCounterMove(MoveEntry* start, MoveEntry* end) {
  const Move* slot = CounterMoveSlot();
  if (slot == nullptr || *slot == NO_MOVE) return;
  for (MoveEntry* entry = start; entry < end; ++entry) {
    if (entry->move == *slot && entry->score < PICK_BY_SCORE_FLOOR) entry->score = COUNTER_MOVE_SCORE;
  }
}

void KeyRemainingMoves(MoveOrder& order) {
  const bool bounded = Uses(BOUNDED_HISTORY);
  for (MoveEntry* entry = order.next; entry < order.end; ++entry) {
    const int slot = entry->move & HISTORY_MOVE_MASK;
    const u32 history = bounded ? static_cast<u32>(HISTORY_LIMIT + BoundedHistory[SideToMove][slot])
                                : HistoryScores[SideToMove][slot];
    order.keys[entry - order.start] = history + static_cast<u32>(HISTORY_KEY_OFFSET + entry->score);
  }
  order.keyed = true;
}

void PunishQuietMovesBefore(const MoveEntry* tried, const MoveEntry* cutoff, int depth) {
  i16* bounded = BoundedHistory[SideToMove];
  for (const MoveEntry* entry = tried; entry < cutoff; ++entry) {
    if (IsQuietOrCastling(entry->move)) NudgeHistory(bounded[entry->move & HISTORY_MOVE_MASK], -HistoryBonus(depth));
  }
}
