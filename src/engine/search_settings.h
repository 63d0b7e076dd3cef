// The settings a search reads, taken before a search the engine runs for its
// own purposes (a measurement, a hint) and put back after it.
#pragma once

#include "search/search_limits.h"
#include "search/search_stop.h"
#include "search/think.h"

struct SearchSettings {
  u32 maxDepth = MaxSearchDepth;
  i64 budgetMs = TimeBudgetMs;
  i64 startClock = SearchStartClock;
  bool stop = StopSearch;
  bool inputStops = InputStopsSearch;
  SearchMode mode = CurrentSearchMode;
  i64 hardLimitMs = HardTimeLimitMs;
  u64 nodeLimit = NodeLimit;
  bool printThinking = PrintThinking;
  Move bestMove = BestMove;
  i16 bestScore = BestScore;

  void Restore() const {
    MaxSearchDepth = maxDepth;
    TimeBudgetMs = budgetMs;
    SearchStartClock = startClock;
    StopSearch = stop;
    InputStopsSearch = inputStops;
    CurrentSearchMode = mode;
    HardTimeLimitMs = hardLimitMs;
    NodeLimit = nodeLimit;
    PrintThinking = printThinking;
    BestMove = bestMove;
    BestScore = bestScore;
  }
};

// A search without a clock, a node limit, printing or a look at the input.
inline void SetQuietSearch() {
  TimeBudgetMs = NO_TIME_LIMIT_MS;
  HardTimeLimitMs = NO_TIME_LIMIT_MS;
  InputStopsSearch = false;
  CurrentSearchMode = SearchMode::OwnMove;
  NodeLimit = 0;
  PrintThinking = false;
}
