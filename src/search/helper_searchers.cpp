#include "search/helper_searchers.h"

#include <memory>

#include "board/check.h"
#include "search/score.h"
#include "search/search_limits.h"
#include "search/search_root.h"
#include "search/search_stack.h"
#include "search/search_state.h"
#include "search/think.h"

namespace {

thread_local constinit bool IsHelper = false;

}  // namespace

bool OnHelperThread() { return IsHelper; }

HelperSearchers::HelperSearchers(const Position& root, u32 count, u32 firstIteration, u32 lastIteration) {
  // Every other helper starts one iteration deeper, so that the helpers spread
  // over two depths rather than all search the same one.
  for (u32 i = 0; i < count; ++i) {
    threads_.emplace_back(&HelperSearchers::Help, this, std::make_unique<Position>(root),
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

void HelperSearchers::Help(std::unique_ptr<Position> root, u32 firstIteration, u32 lastIteration) {
  IsHelper = true;
  Position& pos = *root;
  pos.MovesMade = 0;
  InCheckCount[BLACK] = InCheckCount[WHITE] = 0;
  SelectiveDepth = 0;
  RootResearchFlag = 0;
  PlyRecordOf(pos).listEnd = nullptr;
  FindCheckers(pos, *pos.UndoTop);
  for (IterationDepth = firstIteration; IterationDepth <= lastIteration; ++IterationDepth) {
    const i16 score = SearchRoot(pos, -FULL_WINDOW, FULL_WINDOW - 1);
    if (StopSearch) return;
    Completed({IterationDepth, MoveStack[0].move, score});
  }
}

void HelperSearchers::Completed(const HelperLine& line) {
  const std::lock_guard<std::mutex> lock(deepestMutex_);
  if (line.depth > deepest_.depth) deepest_ = line;
}
