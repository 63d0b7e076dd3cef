// What bounds a running search: set by whoever starts it, read by the search.
#pragma once

#include <atomic>

#include "board/position.h"
#include "board/types.h"
#include "search/search_kind.h"

// How a search treats the clock, the input and its iterations.
enum class SearchMode {
  OwnMove,   // the engine's move: the limits below stop it once it has a move to answer with
  Ponder,    // on the opponent's time: no clock, waiting input stops it at once, nothing printed
  Analysis,  // without end: no clock, waiting input stops it at once, every iteration printed
};

constexpr u32 MAX_MULTI_PV_LINES = 8;
constexpr u32 MAX_SEARCH_THREADS = 64;

// Far beyond any game: a search that only its depth, its input or a node count ends.
constexpr i64 NO_TIME_LIMIT_MS = INT64_MAX / 8;

struct SearchLimits {
  SearchMode CurrentSearchMode = SearchMode::OwnMove;
  SearchKind CurrentSearchKind = SearchKind::Classic;
  i64 TimeBudgetMs = 0;                    // what the search may use, counted from SearchStartClock
  i64 HardTimeLimitMs = NO_TIME_LIMIT_MS;  // never passed, whatever the budget grows to, counted the same way
  i64 SearchStartClock = 0;  // clock reading when the current search (or its ponder search) began
  u32 MaxSearchDepth = 0;    // the deepest iteration
  u64 NodeLimit = 0;         // moves made after which the search stops; 0 = none
  i32 MovesToGo = 0;         // moves left to the next time control
  u32 MultiPvLines = 1;      // best lines shown at each iteration, 1 to MAX_MULTI_PV_LINES
  u32 ChoiceLines = 0;       // best lines looked for at least, shown or not, for a move chosen among them
  u32 SearchThreads = 1;     // threads that search a position together, the one that reports included
  // Noise in the evaluation, for the weakest strength levels: each position
  // gets a fixed error of at most EvalNoiseAmplitude centipawns either way,
  // drawn from its key and EvalNoiseSeed (0: the evaluation as it is).
  i16 EvalNoiseAmplitude = 0;
  u64 EvalNoiseSeed = 0;
  // Each completed iteration is reported (unless pondering); a measurement
  // ("bench") clears it.
  bool PrintThinking = true;
  // Waiting input may stop the search; a measurement ("bench") clears it so
  // that words waiting behind its command do not cut it short.
  bool InputStopsSearch = true;
  // The root moves the search may choose among ("searchmoves"): every move
  // while AllowedCount is 0.
  Move AllowedMoves[MAX_LIST_MOVES] = {};
  int AllowedCount = 0;
};

// Set to stop the search; cleared at each start. Every thread of a search
// looks at it.
extern std::atomic<bool> StopSearch;

// Sets MultiPvLines; false, and nothing changed, for a count outside 1 to MAX_MULTI_PV_LINES.
bool ChooseMultiPvLines(SearchLimits& limits, long lines);

// Sets SearchThreads; false, and nothing changed, for a count outside 1 to MAX_SEARCH_THREADS.
bool ChooseSearchThreads(SearchLimits& limits, long threads);

inline bool PonderSearch(const SearchLimits& limits) { return limits.CurrentSearchMode == SearchMode::Ponder; }

// True when the modern search runs with the feature.
inline bool Uses(const SearchLimits& limits, ModernFeature feature) {
  return limits.CurrentSearchKind == SearchKind::Modern && (TAVREL_MODERN_FEATURES & feature) != 0;
}
