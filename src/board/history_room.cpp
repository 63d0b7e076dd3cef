#include "board/history_room.h"

#include <algorithm>

void KeepRoomInHistory(Position& pos) {
  if (pos.HistoryTop - pos.History < HISTORY_SIZE - SEARCH_LINE_ROOM) return;
  HistoryEntry* first = pos.HistoryTop - (HISTORY_KEPT - 1);
  std::copy(first, pos.HistoryTop + 1, pos.History);
  pos.HistoryTop = pos.History + (HISTORY_KEPT - 1);
}
