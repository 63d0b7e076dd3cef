#include "search/search_stop.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/input_poll.h"
#include "search/helper_searchers.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/think.h"

bool MoveToPlayKnown;
bool InputStopsSearch = true;

namespace {

// An iteration of the modern search under way may use this many budgets.
constexpr i64 MODERN_BUDGETS_AT_MOST = 3;

// The first iterations always run to their end.
constexpr u32 LAST_UNTIMED_ITERATION = 2;

bool AnyInputWaits(Position&) { return InputPending() != 0; }

// Ponder and analysis searches give no move to play: they may stop at once.
bool MayStopWithoutMove() { return CurrentSearchMode != SearchMode::OwnMove; }

bool InputInterrupts(Position& pos) {
  if (!InputStopsSearch) return false;
  if (!MayStopWithoutMove() && !MoveToPlayKnown) return false;
  return WaitingInputStopsSearch(pos);
}

bool NodeLimitReached(Position& pos) { return NodeLimit != 0 && pos.MovesMade >= NodeLimit; }

// The next look: one interval on, or sooner when a node limit falls before.
u32 NextLookAfter(Position& pos, u32 look) {
  u64 next = static_cast<u64>(look) + POLL_INTERVAL;
  if (NodeLimit > pos.MovesMade) next = std::min(next, NodeLimit);
  return static_cast<u32>(std::min<u64>(next, UINT32_MAX));
}

}  // namespace

bool (*WaitingInputStopsSearch)(Position& pos) = AnyInputWaits;

bool TimeIsUp(Searcher& s, Position& pos) {
  if (s.IsHelper) return false;
  if (CurrentSearchMode != SearchMode::OwnMove || !MoveToPlayKnown) return false;
  const i64 elapsed = ClockMs() - SearchStartClock;
  if (elapsed >= HardTimeLimitMs) return true;
  if (s.IterationDepth <= LAST_UNTIMED_ITERATION) return false;
  // The modern search decides between iterations when to stop: the budget is
  // its aim, and an iteration under way may run on to a few budgets.
  const i64 limit = Uses(MODERN_TIME_USE) ? TimeBudgetMs * MODERN_BUDGETS_AT_MOST : TimeBudgetMs;
  return NodeLimitReached(pos) || limit - elapsed < 1;
}

bool PollSaysStop(Searcher& s, Position& pos) {
  if (s.IsHelper) return StopSearch;
  if (!StopSearch) {
    if (!TimeIsUp(s, pos) && !InputInterrupts(pos)) {
      s.NextPollAt = NextLookAfter(pos, s.NextPollAt);
      return false;
    }
    StopSearch = true;
  }
  return true;
}
