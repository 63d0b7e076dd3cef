#include <cstring>

#include "search/searcher.h"

void ClearHistoryScores(Searcher& s) {
  std::memset(s.HistoryScores, 0, sizeof s.HistoryScores);
  std::memset(s.BoundedHistory, 0, sizeof s.BoundedHistory);
  std::memset(s.CounterMoves, 0, sizeof s.CounterMoves);
  std::memset(s.ContinuationHistory, 0, sizeof s.ContinuationHistory);
}

void AgeHistoryScores(Searcher& s) {
  for (auto& side : s.HistoryScores) {
    for (u32& counter : side) counter /= 2;
  }
  for (auto& side : s.BoundedHistory) {
    for (i16& counter : side) counter = static_cast<i16>(counter / 2);
  }
  for (auto& piece : s.ContinuationHistory) {
    for (ContinuationRow& row : piece) {
      for (i16& counter : row) counter = static_cast<i16>(counter / 2);
    }
  }
}
