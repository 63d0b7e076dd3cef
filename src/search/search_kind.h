// Which search runs: the classic search, exactly, or the modern one, which is
// the same search with its reductions, prunings and extensions switched on.
#pragma once

#include "board/types.h"

enum class SearchKind { Classic, Modern };


// The additions of the modern search, one bit each. A build chooses them with
// -DTAVREL_MODERN_FEATURES=mask, to measure what each is worth in games.
enum ModernFeature : u32 {
  LATE_MOVE_REDUCTIONS = 1u << 0,
  REVERSE_FUTILITY = 1u << 1,
  ADAPTIVE_NULL_MOVE = 1u << 2,
  LATE_MOVE_PRUNING = 1u << 3,
  FUTILITY_PRUNING = 1u << 4,
  CHECK_EXTENSION = 1u << 5,
  INTERNAL_REDUCTION = 1u << 6,
  MODERN_TIME_USE = 1u << 7,
  EXCHANGE_PRUNING = 1u << 8,
  BOUNDED_HISTORY = 1u << 9,
  IMPROVING = 1u << 10,
  COUNTER_MOVE = 1u << 11,
  DEEPER_REDUCTIONS = 1u << 12,
  UNNARROWED_WINDOW = 1u << 13,
  QUIESCE_EXCHANGE_PRUNING = 1u << 14,
  RAZORING = 1u << 15,
  KEPT_HISTORY = 1u << 16,
  QUIET_SQUARE_ORDER = 1u << 17,
  CONTINUATION_HISTORY = 1u << 18,
};

// By default, the additions that games have shown to gain (docs/strength.md);
// the others wait, switched off, for a test that they do.
#ifndef TAVREL_MODERN_FEATURES
#define TAVREL_MODERN_FEATURES \
  (LATE_MOVE_REDUCTIONS | ADAPTIVE_NULL_MOVE | FUTILITY_PRUNING | EXCHANGE_PRUNING | UNNARROWED_WINDOW | MODERN_TIME_USE)
#endif
