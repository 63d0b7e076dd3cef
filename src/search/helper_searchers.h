// Searchers beside the one that reports: each searches a copy of the root on
// a thread of its own, iteration after iteration, with its own move lists and
// history, until the search stops. They share only the transposition table,
// where what they find steers the reporting searcher.
#pragma once

#include <mutex>
#include <thread>
#include <vector>

#include "board/position.h"
#include "search/search_limits.h"

#include <memory>

// The deepest iteration the helpers completed: its depth (0 when none), and
// the best move and score it found.
struct HelperLine {
  u32 depth = 0;
  Move move = NO_MOVE;
  i16 score = 0;
};

// Helpers started when made and stopped (StopSearch, then joined) by Stop or
// when gone.
class HelperSearchers {
 public:
  HelperSearchers(const Position& root, const SearchLimits& limits, u32 count, u32 firstIteration, u32 lastIteration);
  ~HelperSearchers() { Stop(); }
  HelperSearchers(const HelperSearchers&) = delete;
  HelperSearchers& operator=(const HelperSearchers&) = delete;

  HelperLine Stop();
  // Waits for the helpers to run their iterations to the last one given.
  HelperLine Finish();

 private:
  void Help(std::unique_ptr<Position> root, SearchLimits limits, u32 firstIteration, u32 lastIteration);
  void Completed(const HelperLine& line);

  std::vector<std::thread> threads_;
  std::mutex deepestMutex_;
  HelperLine deepest_;
};
