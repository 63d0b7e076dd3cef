#include "driver/time_control.h"

#include "board/position.h"
#include "platform/clock.h"
#include "driver/command_loop.h"
#include "platform/engine_log.h"
#include "search/think.h"

i32 MovesPerControl;
i32 IncrementMs;

namespace {
constexpr u32 DEEPEST_ITERATION = 127;
// Shares of at least 5 s keep 1 s in reserve, shares of at least 2.2 s keep 0.5 s.
constexpr i64 LARGE_SHARE_CS = 500, LARGE_MARGIN_CS = 100;
constexpr i64 MEDIUM_SHARE_CS = 220, MEDIUM_MARGIN_CS = 50;
}  // namespace

TimeAllocation ComputeTimeAllocation(i64 ownClockCs, i32 movesPerControl, i32 incrementMs,
                                     u16 gameMoveCount) {
  i32 movesToGo = DEFAULT_MOVES_TO_GO;
  if (movesPerControl > 0) movesToGo = movesPerControl - ((gameMoveCount >> 1) % movesPerControl);

  i64 share = ownClockCs / movesToGo;
  if (share >= LARGE_SHARE_CS) {
    share -= LARGE_MARGIN_CS;
  } else if (share >= MEDIUM_SHARE_CS) {
    share -= MEDIUM_MARGIN_CS;
  }
  // The last move before the control keeps a tenth of its share in reserve.
  i64 budget = (movesToGo == 1 ? share * 9 : share * 10) + incrementMs;
  return {movesToGo, budget};
}

void AllocateTime(i64 ownClockCs) {
  TimeAllocation allocation =
      ComputeTimeAllocation(ownClockCs, MovesPerControl, IncrementMs, GameMoveCount);
  MovesToGo = allocation.movesToGo;
  TimeBudgetMs = allocation.budgetMs;
}

void StartEngine(bool goodPonder, u8 depth) {
  EngineLog << "-M: entered StartEngine, goodPonder: " << (goodPonder ? 1 : 0) << EndLine;
  MaxSearchDepth = depth < DEEPEST_ITERATION ? depth : DEEPEST_ITERATION;
  StopSearch = false;
  PonderSearch = EngineState == ENGINE_PONDERING;
  if (!goodPonder) SearchStartClock = ClockMs();
  EngineLog << "*** xxx czas uzyty: " << ClockMs() - SearchStartClock << EndLine;
  UndoTop = UndoRecords;
  Think();
  EngineLog << "-M: exited StartEngine" << EndLine;
}

void StopEngine() {
  EngineLog << "-M: entered StopEngine" << EndLine;
  EngineState = ENGINE_FORCE;
  StopSearch = true;
  SearchStartClock = 0;
  EngineLog << "-M: exited StopEngine" << EndLine;
}
