#include "search/helper_searchers.h"

#include <memory>

#include "board/check.h"
#include "search/score.h"
#include "search/search_limits.h"
#include "search/search_root.h"
#include "search/searcher.h"
#include "search/think.h"

HelperSearchers::HelperSearchers(const Position& root, const SearchLimits& limits, u32 count, u32 firstIteration,
                                 u32 lastIteration) {
  // Every other helper starts one iteration deeper, so that the helpers spread
  // over two depths rather than all search the same one.
  for (u32 i = 0; i < count; ++i) {
    threads_.emplace_back(&HelperSearchers::Help, this, std::make_unique<Position>(root), limits,
                          firstIteration + (i % 2 == 0 ? 1 : 0), lastIteration);
  }
}

HelperLine HelperSearchers::Stop() {
  if (threads_.empty()) return deepest_;
  const bool stopped = StopSearch;
  StopSearch = true;
  const HelperLine deepest = Finish();
  StopSearch = stopped;
  return deepest;
}

HelperLine HelperSearchers::Finish() {
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
  return deepest_;
}

void HelperSearchers::Help(std::unique_ptr<Position> root, SearchLimits limits, u32 firstIteration, u32 lastIteration) {
  const auto searcher = std::make_unique<Searcher>();
  Searcher& s = *searcher;
  s.IsHelper = true;
  s.Limits = &limits;
  Position& pos = *root;
  pos.MovesMade = 0;
  s.InCheckCount[BLACK] = s.InCheckCount[WHITE] = 0;
  s.SelectiveDepth = 0;
  s.RootResearchFlag = 0;
  PlyRecordOf(s, pos).listEnd = nullptr;
  FindCheckers(pos, *pos.UndoTop);
  for (s.IterationDepth = firstIteration; s.IterationDepth <= lastIteration; ++s.IterationDepth) {
    const i16 score = SearchRoot(s, pos, -FULL_WINDOW, FULL_WINDOW - 1);
    if (StopSearch) return;
    Completed({s.IterationDepth, s.MoveStack[0].move, score});
  }
}

void HelperSearchers::Completed(const HelperLine& line) {
  const std::lock_guard<std::mutex> lock(deepestMutex_);
  if (line.depth > deepest_.depth) deepest_ = line;
}
