#include "search/search_stop.h"

#include "driver/clock.h"
#include "driver/command_loop.h"
#include "driver/input_poll.h"
#include "driver/time_control.h"
#include "search/think.h"

u32 NextPollAt = POLL_INTERVAL;
bool MoveToPlayKnown;
bool InputStopsSearch = true;

namespace {

// The first iterations always run to their end.
constexpr u32 LAST_UNTIMED_ITERATION = 2;

bool Pondering() { return EngineState == ENGINE_PONDERING; }

bool InputInterrupts() {
  if (!InputStopsSearch) return false;
  if (!Pondering() && !MoveToPlayKnown) return false;
  return InputPending() != 0;
}

}  // namespace

bool TimeIsUp() {
  if (Pondering() || IterationDepth <= LAST_UNTIMED_ITERATION || !MoveToPlayKnown) return false;
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
