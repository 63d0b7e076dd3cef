// What the search learnt about earlier positions, forgotten when a new position is loaded.
#pragma once

#include "search/searcher.h"

// Clears the shared table, the searcher's history and killers, and the pawn cache.
void ForgetSearchMemory(Searcher& s);
