// How long the engine may think, and the switches that start and stop a search.
#pragma once

#include "board/types.h"
#include "search/search_limits.h"

extern i32 MovesPerControl;   // moves per time control ("level"); 0 = the whole game
extern i32 IncrementMs;       // increment per move ("level")

// Moves to go when no control is set: the whole game is shared as if 33 moves were left.
constexpr i32 DEFAULT_MOVES_TO_GO = 33;

struct TimeAllocation {
  i32 movesToGo;
  i64 budgetMs;
};

// The budget for the next move from the own clock in centiseconds. 64-bit all
// through: a clock of 999999999 with one move to go gives 8999999091 ms.
TimeAllocation ComputeTimeAllocation(i64 ownClockCs, i32 movesPerControl, i32 incrementMs,
                                     u16 gameMoveCount);

// "time": sets MovesToGo and TimeBudgetMs from the own clock and the globals.
void AllocateTime(i64 ownClockCs);

// Runs one search of the position on the board to the end (at most depth
// iterations, 127 at the most). On a ponder hit (goodPonder) the clock keeps
// the start of the ponder search, so the time spent pondering counts.
void StartEngine(bool goodPonder, u8 depth);

// "force": the engine stops answering moves; a running search is told to stop.
void StopEngine();
