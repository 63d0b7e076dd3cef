#include <cstring>

#include "search/searcher.h"

void ClearHistoryScores(Searcher& s) {
  std::memset(s.HistoryScores, 0, sizeof s.HistoryScores);
  std::memset(s.BoundedHistory, 0, sizeof s.BoundedHistory);
  std::memset(s.CounterMoves, 0, sizeof s.CounterMoves);
}
