#include "search/search_state.h"

#include <cstring>

thread_local constinit u32 HistoryScores[2][HISTORY_MOVE_SLOTS] = {};
thread_local constinit i16 BoundedHistory[2][HISTORY_MOVE_SLOTS] = {};
thread_local constinit Move CounterMoves[PIECE_CODE_COUNT][SQUARE_COUNT] = {};
thread_local constinit u32 InCheckCount[2] = {};
thread_local constinit u32 SelectiveDepth = 0;

void ClearHistoryScores() {
  std::memset(HistoryScores, 0, sizeof HistoryScores);
  std::memset(BoundedHistory, 0, sizeof BoundedHistory);
  std::memset(CounterMoves, 0, sizeof CounterMoves);
}
