// What bounds a running search: set by whoever starts it, read by the search.
#pragma once

#include "board/types.h"

extern i64 TimeBudgetMs;      // what the search may use, counted from SearchStartClock
extern i64 SearchStartClock;  // clock reading when the current search (or its ponder search) began
extern bool StopSearch;       // set to stop the search; cleared at each start
extern u32 MaxSearchDepth;    // the deepest iteration
extern i32 MovesToGo;         // moves left to the next time control
// The search runs on the opponent's time: the clock does not stop it and it
// prints no thinking lines.
extern bool PonderSearch;
