// What bounds a running search: set by whoever starts it, read by the search.
#pragma once

#include <atomic>

#include "board/types.h"

// How a search treats the clock, the input and its iterations.
enum class SearchMode {
  OwnMove,   // the engine's move: the limits below stop it once it has a move to answer with
  Ponder,    // on the opponent's time: no clock, waiting input stops it at once, nothing printed
  Analysis,  // without end: no clock, waiting input stops it at once, every iteration printed
};

extern SearchMode CurrentSearchMode;
extern i64 TimeBudgetMs;      // what the search may use, counted from SearchStartClock
extern i64 HardTimeLimitMs;   // never passed, whatever the budget grows to, counted the same way
extern i64 SearchStartClock;  // clock reading when the current search (or its ponder search) began
extern std::atomic<bool> StopSearch;  // set to stop the search; cleared at each start
extern u32 MaxSearchDepth;    // the deepest iteration
extern u64 NodeLimit;         // moves made after which the search stops; 0 = none
extern i32 MovesToGo;         // moves left to the next time control
extern u32 MultiPvLines;      // best lines shown at each iteration, 1 to MAX_MULTI_PV_LINES
extern u32 ChoiceLines;       // best lines looked for at least, shown or not, for a move chosen among them

constexpr u32 MAX_MULTI_PV_LINES = 8;

// Sets MultiPvLines; false, and nothing changed, for a count outside 1 to MAX_MULTI_PV_LINES.
bool ChooseMultiPvLines(long lines);

// Threads that search a position together, the one that reports included.
extern u32 SearchThreads;
constexpr u32 MAX_SEARCH_THREADS = 64;

// Sets SearchThreads; false, and nothing changed, for a count outside 1 to MAX_SEARCH_THREADS.
bool ChooseSearchThreads(long threads);

// Far beyond any game: a search that only its depth, its input or a node count ends.
constexpr i64 NO_TIME_LIMIT_MS = INT64_MAX / 8;

inline bool PonderSearch() { return CurrentSearchMode == SearchMode::Ponder; }
