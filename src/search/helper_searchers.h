// Searchers beside the one that reports: each searches a copy of the root on
// a thread of its own, iteration after iteration, with its own move lists and
// history, until the search stops. They share only the transposition table,
// where what they find steers the reporting searcher.
#pragma once

#include <thread>
#include <vector>

#include "board/position.h"

// True on a helper's thread: it neither looks at the clock nor reads input.
bool OnHelperThread();

// Helpers started when made and stopped (StopSearch, then joined) when gone.
class HelperSearchers {
 public:
  HelperSearchers(const Position& root, u32 count, u32 firstIteration, u32 lastIteration);
  ~HelperSearchers();
  HelperSearchers(const HelperSearchers&) = delete;
  HelperSearchers& operator=(const HelperSearchers&) = delete;

 private:
  std::vector<std::thread> threads_;
};
