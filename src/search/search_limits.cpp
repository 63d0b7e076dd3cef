#include "search/search_limits.h"

std::atomic<bool> StopSearch;

bool ChooseMultiPvLines(SearchLimits& limits, long lines) {
  if (lines < 1 || lines > static_cast<long>(MAX_MULTI_PV_LINES)) return false;
  limits.MultiPvLines = static_cast<u32>(lines);
  return true;
}

bool ChooseSearchThreads(SearchLimits& limits, long threads) {
  if (threads < 1 || threads > static_cast<long>(MAX_SEARCH_THREADS)) return false;
  limits.SearchThreads = static_cast<u32>(threads);
  return true;
}
