// The settings a search reads, taken before a search the engine runs for its
// own purposes (a measurement, a hint) and put back after it.
#pragma once

#include "engine/engine.h"
#include "search/search_limits.h"

class SearchSettings {
 public:
  explicit SearchSettings(Engine& engine)
      : engine_(engine),
        limits_(engine.limits),
        stop_(StopSearch),
        bestMove_(engine.searcher->BestMove),
        bestScore_(engine.searcher->BestScore) {}
  SearchSettings(const SearchSettings&) = delete;
  SearchSettings& operator=(const SearchSettings&) = delete;

  void Restore() const {
    engine_.limits = limits_;
    StopSearch = stop_;
    engine_.searcher->BestMove = bestMove_;
    engine_.searcher->BestScore = bestScore_;
  }

 private:
  Engine& engine_;
  SearchLimits limits_;
  bool stop_;
  Move bestMove_;
  i16 bestScore_;
};

// A search without a clock, a node limit, printing or a look at the input.
inline void SetQuietSearch(SearchLimits& limits) {
  limits.TimeBudgetMs = NO_TIME_LIMIT_MS;
  limits.HardTimeLimitMs = NO_TIME_LIMIT_MS;
  limits.InputStopsSearch = false;
  limits.CurrentSearchMode = SearchMode::OwnMove;
  limits.NodeLimit = 0;
  limits.PrintThinking = false;
}
