#include "search/search_limits.h"

i64 TimeBudgetMs;
i64 SearchStartClock;
bool StopSearch;
u32 MaxSearchDepth;
i32 MovesToGo;
bool PonderSearch;
