#include "engine/time_control.h"

#include <algorithm>

#include "board/position.h"
#include "engine/strength_level.h"
#include "platform/clock.h"
#include "platform/engine_log.h"
#include "search/think.h"

namespace {
// Shares of at least 5 s keep 1 s in reserve, shares of at least 2.2 s keep 0.5 s.
constexpr i64 LARGE_SHARE_CS = 500, LARGE_MARGIN_CS = 100;
constexpr i64 MEDIUM_SHARE_CS = 220, MEDIUM_MARGIN_CS = 50;
constexpr i64 MS_PER_CS = 10;
// Kept back from the clock for the interface's own reading and writing (and an
// adapter's, such as a UCI-to-xboard bridge): a tenth of it, and never less
// than 100 ms.
constexpr i64 MIN_CLOCK_RESERVE_MS = 100;
constexpr i64 CLOCK_RESERVE_DIVISOR = 10;
// Even a nearly empty clock gives the search this long.
constexpr i64 LEAST_MOVE_MS = 5;
// No move takes more than this many fair shares of a control.
constexpr i64 FAIR_SHARES_AT_MOST = 3;
// A fixed time per move is met a little early, for the same delays.
constexpr i64 FIXED_TIME_RESERVE_MS = 20;

void SetLimits(Engine& engine, const TimeLimits& limits) {
  engine.limits.TimeBudgetMs = limits.budgetMs;
  engine.limits.HardTimeLimitMs = limits.hardLimitMs;
}

// A control's time shared out per move, as the allocation would at its start.
i64 FairShareMs(Engine& engine) {
  if (engine.ControlBaseMs <= 0) return 0;
  const i32 moves = engine.MovesPerControl > 0 ? engine.MovesPerControl : DEFAULT_MOVES_TO_GO;
  return engine.ControlBaseMs / moves + engine.IncrementMs;
}

}  // namespace

TimeAllocation ComputeTimeAllocation(i64 ownClockCs, i32 movesPerControl, i32 incrementMs, u32 movesMade) {
  i32 movesToGo = DEFAULT_MOVES_TO_GO;
  if (movesPerControl > 0) movesToGo = movesPerControl - static_cast<i32>(movesMade % static_cast<u32>(movesPerControl));

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

u32 MovesMadeInGame(Position& pos) {
  const u32 plies = pos.GameMoveCount > 0 ? pos.GameMoveCount - 1u : 0u;
  const u32 sideAtStart = (plies % 2 == 0) ? pos.GameSideToMove : (pos.GameSideToMove ^ 1);
  const u32 guiPlies = plies + (sideAtStart == static_cast<u32>(BLACK) ? 1u : 0u);
  return guiPlies / 2;
}

TimeLimits SafeTimeLimits(i64 budgetMs, i64 clockMs, i64 fairShareMs) {
  const i64 reserve = std::max(MIN_CLOCK_RESERVE_MS, clockMs / CLOCK_RESERVE_DIVISOR);
  const i64 payable = std::max(LEAST_MOVE_MS, clockMs - reserve);
  i64 budget = std::min(budgetMs, payable);
  if (fairShareMs > 0) budget = std::min(budget, FAIR_SHARES_AT_MOST * fairShareMs);
  return {std::max<i64>(budget, 0), payable};
}

void AllocateTime(Engine& engine, i64 ownClockCs) {
  Position& pos = engine.game;
  const TimeAllocation allocation =
      ComputeTimeAllocation(ownClockCs, engine.MovesPerControl, engine.IncrementMs, MovesMadeInGame(pos));
  engine.limits.MovesToGo = allocation.movesToGo;
  if (engine.FixedMoveMs > 0) {
    AllocateMoveTime(engine, engine.FixedMoveMs);
    engine.limits.HardTimeLimitMs = std::min(engine.limits.HardTimeLimitMs, SafeTimeLimits(0, ownClockCs * MS_PER_CS, 0).hardLimitMs);
    return;
  }
  SetLimits(engine, SafeTimeLimits(allocation.budgetMs, ownClockCs * MS_PER_CS, FairShareMs(engine)));
}

void AllocateClockTime(Engine& engine, i64 ownClockMs, i32 incrementMs, i32 movesToGo, i64 overheadMs) {
  const i32 controlMoves = movesToGo > 0 ? movesToGo : 0;
  const i64 clockMs = std::max<i64>(ownClockMs - overheadMs, 0);
  const TimeAllocation allocation = ComputeTimeAllocation(clockMs / MS_PER_CS, controlMoves, incrementMs, 0);
  engine.limits.MovesToGo = allocation.movesToGo;
  SetLimits(engine, SafeTimeLimits(allocation.budgetMs - overheadMs, clockMs, 0));
}

void AllocateMoveTime(Engine& engine, i64 moveMs, i64 overheadMs) {
  const i64 limit = std::max(LEAST_MOVE_MS, moveMs - overheadMs - FIXED_TIME_RESERVE_MS);
  SetLimits(engine, {limit, limit});
}

void AllocateNoTime(Engine& engine) { SetLimits(engine, {NO_TIME_LIMIT_MS, NO_TIME_LIMIT_MS}); }

namespace {

// The move's time as nodes at NodesPerSecond: no time of its own is left.
void CountTimeInNodes(Engine& engine, i64 moveMs) {
  engine.limits.NodeLimit = moveMs >= NO_TIME_LIMIT_MS ? 0 : static_cast<u64>(std::max<i64>(moveMs * engine.NodesPerSecond / MS_PER_SECOND, 1));
  AllocateNoTime(engine);
}

}  // namespace

void PrepareOwnMoveLimits(Engine& engine) {
  engine.limits.NodeLimit = 0;
  if (engine.FixedMoveMs > 0) {
    AllocateMoveTime(engine, engine.FixedMoveMs);
  } else if (!engine.ClockKnown && engine.ControlBaseMs > 0) {
    AllocateTime(engine, engine.ControlBaseMs / MS_PER_CS);
  } else if (!engine.ClockKnown && engine.DepthLimit > 0) {
    AllocateNoTime(engine);
  }
  if (engine.NodesPerSecond > 0) CountTimeInNodes(engine, engine.FixedMoveMs > 0 ? engine.FixedMoveMs : engine.limits.TimeBudgetMs);
}

void StartEngine(Engine& engine, bool goodPonder, u8 depth, SearchMode mode, bool playing) {
  Position& pos = engine.game;
  EngineLog << "-M: entered StartEngine, goodPonder: " << (goodPonder ? 1 : 0) << EndLine;
  u32 deepest = std::min<u32>(depth, DEEPEST_ITERATION);
  if (engine.DepthLimit > 0 && mode != SearchMode::Analysis) deepest = std::min(deepest, engine.DepthLimit);
  engine.limits.MaxSearchDepth = deepest;
  StopSearch = false;
  engine.limits.CurrentSearchMode = mode;
  if (goodPonder) {
    // The budget counts the time spent pondering; the clock that the hard limit
    // guards only started running now.
    engine.limits.HardTimeLimitMs += ClockMs() - engine.limits.SearchStartClock;
  } else {
    engine.limits.SearchStartClock = ClockMs();
  }
  EngineLog << "*** xxx czas uzyty: " << ClockMs() - engine.limits.SearchStartClock << EndLine;
  pos.UndoTop = pos.UndoRecords;
  PrepareLevel(engine, playing);
  Think(*engine.searcher, pos);
  LeaveLevel(engine);
  EngineLog << "-M: exited StartEngine" << EndLine;
}
