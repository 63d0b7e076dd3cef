#include "search/root_moves.h"

#include <algorithm>

namespace {

Move AllowedMoves[MAX_LIST_MOVES];
int AllowedCount = 0;

}  // namespace

void AllowOnlyRootMoves(const Move* moves, int count) {
  AllowedCount = std::clamp(count, 0, MAX_LIST_MOVES);
  std::copy(moves, moves + AllowedCount, AllowedMoves);
}

bool RootMovesRestricted() { return AllowedCount > 0; }

bool RootMoveAllowed(Move move) {
  return AllowedCount == 0 || std::find(AllowedMoves, AllowedMoves + AllowedCount, move) != AllowedMoves + AllowedCount;
}

MoveEntry* KeepAllowedRootMoves(MoveEntry* begin, MoveEntry* end) {
  return std::remove_if(begin, end, [](const MoveEntry& entry) { return !RootMoveAllowed(entry.move); });
}
