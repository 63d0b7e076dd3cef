#include "search/search_state.h"

#include <cstring>

#include "board/position.h"

u32 HistoryScores[2][HISTORY_MOVE_SLOTS];
u32 InCheckCount[2];

void ClearHistoryScores() { std::memset(HistoryScores, 0, sizeof HistoryScores); }

void ClearKillerMoves() {
  for (UndoRecord& record : UndoRecords) {
    record.killer1 = NO_MOVE;
    record.killer2 = NO_MOVE;
  }
}
