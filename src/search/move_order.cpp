#include "search/move_order.h"

#include "search/search_stack.h"

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

void KeyRemainingMoves(Position& pos, MoveOrder& order) {
  const u32* history = HistoryScores[pos.SideToMove];
  for (MoveEntry* entry = order.next; entry < order.end; ++entry) {
    order.keys[entry - order.start] =
        history[entry->move & HISTORY_MOVE_MASK] + static_cast<u32>(HISTORY_KEY_OFFSET + entry->score);
  }
  order.keyed = true;
}
