#include "search/search_limits.h"

SearchMode CurrentSearchMode = SearchMode::OwnMove;
i64 TimeBudgetMs;
i64 HardTimeLimitMs = NO_TIME_LIMIT_MS;
i64 SearchStartClock;
std::atomic<bool> StopSearch;
u32 MaxSearchDepth;
u64 NodeLimit;
i32 MovesToGo;
u32 MultiPvLines = 1;

bool ChooseMultiPvLines(long lines) {
  if (lines < 1 || lines > static_cast<long>(MAX_MULTI_PV_LINES)) return false;
  MultiPvLines = static_cast<u32>(lines);
  return true;
}
u32 ChoiceLines = 0;
u32 SearchThreads = 1;

bool ChooseSearchThreads(long threads) {
  if (threads < 1 || threads > static_cast<long>(MAX_SEARCH_THREADS)) return false;
  SearchThreads = static_cast<u32>(threads);
  return true;
}
