#include "board/history_room.h"

#include <algorithm>

void KeepRoomInHistory() {
  if (HistoryTop - History < HISTORY_SIZE - SEARCH_LINE_ROOM) return;
  HistoryEntry* first = HistoryTop - (HISTORY_KEPT - 1);
  std::copy(first, HistoryTop + 1, History);
  HistoryTop = History + (HISTORY_KEPT - 1);
}
