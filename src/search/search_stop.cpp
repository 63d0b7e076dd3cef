#include "search/search_stop.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/input_poll.h"
#include "search/helper_searchers.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/think.h"


namespace {

// An iteration of the modern search under way may use this many budgets.
constexpr i64 MODERN_BUDGETS_AT_MOST = 3;
// The modern search starts no iteration once this share of the budget is
// spent, or this larger one when the last iteration changed the best move.
constexpr i64 SETTLED_SHARE_NUM = 1, SETTLED_SHARE_DEN = 2;
constexpr i64 CHANGED_MIND_SHARE_NUM = 4, CHANGED_MIND_SHARE_DEN = 5;

// The first iterations always run to their end.
constexpr u32 LAST_UNTIMED_ITERATION = 2;

bool AnyInputWaits(Position&) { return InputPending() != 0; }

// Ponder and analysis searches give no move to play: they may stop at once.
bool MayStopWithoutMove(Searcher& s) { return s.Limits->CurrentSearchMode != SearchMode::OwnMove; }

bool InputInterrupts(Searcher& s, Position& pos) {
  if (!s.Limits->InputStopsSearch) return false;
  if (!MayStopWithoutMove(s) && !s.MoveToPlayKnown) return false;
  return WaitingInputStopsSearch(pos);
}

bool NodeLimitReached(Searcher& s, Position& pos) { return s.Limits->NodeLimit != 0 && pos.MovesMade >= s.Limits->NodeLimit; }

// The next look: one interval on, or sooner when a node limit falls before.
u32 NextLookAfter(Searcher& s, Position& pos, u32 look) {
  u64 next = static_cast<u64>(look) + POLL_INTERVAL;
  if (s.Limits->NodeLimit > pos.MovesMade) next = std::min(next, s.Limits->NodeLimit);
  return static_cast<u32>(std::min<u64>(next, UINT32_MAX));
}

}  // namespace

std::function<bool(Position& pos)> WaitingInputStopsSearch = AnyInputWaits;

bool TimeIsUp(Searcher& s, Position& pos) {
  if (s.IsHelper) return false;
  if (s.Limits->CurrentSearchMode != SearchMode::OwnMove || !s.MoveToPlayKnown) return false;
  const i64 elapsed = ClockMs() - s.Limits->SearchStartClock;
  if (elapsed >= s.Limits->HardTimeLimitMs) return true;
  if (s.IterationDepth <= LAST_UNTIMED_ITERATION) return false;
  // The modern search decides between iterations when to stop: the budget is
  // its aim, and an iteration under way may run on to a few budgets.
  const i64 limit = Uses(*s.Limits, MODERN_TIME_USE) ? s.Limits->TimeBudgetMs * MODERN_BUDGETS_AT_MOST : s.Limits->TimeBudgetMs;
  return NodeLimitReached(s, pos) || limit - elapsed < 1;
}

bool NoTimeForAnotherIteration(Searcher& s, bool bestMoveChanged) {
  if (s.IsHelper) return false;  // helpers search on until the reporting thread stops them
  if (!Uses(*s.Limits, MODERN_TIME_USE) || s.Limits->CurrentSearchMode != SearchMode::OwnMove) return false;
  if (s.Limits->TimeBudgetMs >= s.Limits->HardTimeLimitMs || s.IterationDepth <= LAST_UNTIMED_ITERATION) return false;
  const i64 share = bestMoveChanged ? s.Limits->TimeBudgetMs * CHANGED_MIND_SHARE_NUM / CHANGED_MIND_SHARE_DEN
                                    : s.Limits->TimeBudgetMs * SETTLED_SHARE_NUM / SETTLED_SHARE_DEN;
  return ClockMs() - s.Limits->SearchStartClock >= share;
}

bool PollSaysStop(Searcher& s, Position& pos) {
  if (s.IsHelper) return StopSearch;
  if (!StopSearch) {
    if (!TimeIsUp(s, pos) && !InputInterrupts(s, pos)) {
      s.NextPollAt = NextLookAfter(s, pos, s.NextPollAt);
      return false;
    }
    StopSearch = true;
  }
  return true;
}
