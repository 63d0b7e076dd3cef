#include "search/search_stop.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/input_poll.h"
#include "search/search_limits.h"
#include "search/think.h"

u32 NextPollAt = POLL_INTERVAL;
bool MoveToPlayKnown;
bool InputStopsSearch = true;

namespace {

// The first iterations always run to their end.
constexpr u32 LAST_UNTIMED_ITERATION = 2;

bool AnyInputWaits() { return InputPending() != 0; }

// Ponder and analysis searches give no move to play: they may stop at once.
bool MayStopWithoutMove() { return CurrentSearchMode != SearchMode::OwnMove; }

bool InputInterrupts() {
  if (!InputStopsSearch) return false;
  if (!MayStopWithoutMove() && !MoveToPlayKnown) return false;
  return WaitingInputStopsSearch();
}

bool NodeLimitReached() { return NodeLimit != 0 && MovesMade >= NodeLimit; }

// The next look: one interval on, or sooner when a node limit falls before.
u32 NextLookAfter(u32 look) {
  u64 next = static_cast<u64>(look) + POLL_INTERVAL;
  if (NodeLimit > MovesMade) next = std::min(next, NodeLimit);
  return static_cast<u32>(std::min<u64>(next, UINT32_MAX));
}

}  // namespace

bool (*WaitingInputStopsSearch)() = AnyInputWaits;

bool TimeIsUp() {
  if (CurrentSearchMode != SearchMode::OwnMove || !MoveToPlayKnown) return false;
  const i64 elapsed = ClockMs() - SearchStartClock;
  if (elapsed >= HardTimeLimitMs) return true;
  if (IterationDepth <= LAST_UNTIMED_ITERATION) return false;
  return NodeLimitReached() || TimeBudgetMs - elapsed < 1;
}

bool PollSaysStop() {
  if (!StopSearch) {
    if (!TimeIsUp() && !InputInterrupts()) {
      NextPollAt = NextLookAfter(NextPollAt);
      return false;
    }
    StopSearch = true;
  }
  return true;
}
