#include "search/search_state.h"

#include <cstring>

u32 HistoryScores[2][HISTORY_MOVE_SLOTS];
i16 BoundedHistory[2][HISTORY_MOVE_SLOTS];
Move CounterMoves[PIECE_CODE_COUNT][SQUARE_COUNT];
u32 InCheckCount[2];
u32 SelectiveDepth;

void ClearHistoryScores() {
  std::memset(HistoryScores, 0, sizeof HistoryScores);
  std::memset(BoundedHistory, 0, sizeof BoundedHistory);
  std::memset(CounterMoves, 0, sizeof CounterMoves);
}
