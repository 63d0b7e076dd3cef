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

// Every other helper starts one iteration deeper, so that the helpers spread
// over two depths rather than all search the same one.
void Help(std::unique_ptr<Position> root, u32 firstIteration, u32 lastIteration) {
  IsHelper = true;
  Position& pos = *root;
  pos.MovesMade = 0;
  InCheckCount[BLACK] = InCheckCount[WHITE] = 0;
  SelectiveDepth = 0;
  RootResearchFlag = 0;
  PlyRecordOf(pos).listEnd = nullptr;
  FindCheckers(pos, *pos.UndoTop);
  for (IterationDepth = firstIteration; IterationDepth <= lastIteration && !StopSearch; ++IterationDepth) {
    SearchRoot(pos, -FULL_WINDOW, FULL_WINDOW - 1);
  }
}

}  // namespace

bool OnHelperThread() { return IsHelper; }

HelperSearchers::HelperSearchers(const Position& root, u32 count, u32 firstIteration, u32 lastIteration) {
  for (u32 i = 0; i < count; ++i) {
    threads_.emplace_back(Help, std::make_unique<Position>(root), firstIteration + (i % 2 == 0 ? 1 : 0), lastIteration);
  }
}

HelperSearchers::~HelperSearchers() {
  if (threads_.empty()) return;
  const bool stopped = StopSearch;
  StopSearch = true;
  for (std::thread& thread : threads_) thread.join();
  StopSearch = stopped;
}
