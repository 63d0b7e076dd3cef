#include "search/search_stop.h"

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

bool InputInterrupts() {
  if (!InputStopsSearch) return false;
  if (!PonderSearch && !MoveToPlayKnown) return false;
  return InputPending() != 0;
}

}  // namespace

bool TimeIsUp() {
  if (PonderSearch || IterationDepth <= LAST_UNTIMED_ITERATION || !MoveToPlayKnown) return false;
  return TimeBudgetMs + SearchStartClock - ClockMs() < 1;
}

bool PollSaysStop() {
  if (!StopSearch) {
    if (!TimeIsUp() && !InputInterrupts()) {
      NextPollAt += POLL_INTERVAL;
      return false;
    }
    StopSearch = true;
  }
  return true;
}
