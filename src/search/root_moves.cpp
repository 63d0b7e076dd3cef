#include "search/root_moves.h"

#include <algorithm>

void AllowOnlyRootMoves(SearchLimits& limits, const Move* moves, int count) {
  limits.AllowedCount = std::clamp(count, 0, MAX_LIST_MOVES);
  std::copy(moves, moves + limits.AllowedCount, limits.AllowedMoves);
}

bool RootMovesRestricted(const SearchLimits& limits) { return limits.AllowedCount > 0; }

bool RootMoveAllowed(const SearchLimits& limits, Move move) {
  const Move* const end = limits.AllowedMoves + limits.AllowedCount;
  return limits.AllowedCount == 0 || std::find(limits.AllowedMoves, end, move) != end;
}

MoveEntry* KeepAllowedRootMoves(const SearchLimits& limits, MoveEntry* begin, MoveEntry* end) {
  return std::remove_if(begin, end, [&limits](const MoveEntry& entry) { return !RootMoveAllowed(limits, entry.move); });
}
