// The moves a search may choose among at the root: every move, or only those
// an interface listed ("searchmoves").
#pragma once

#include "board/position.h"
#include "movegen/move_stack.h"
#include "search/search_limits.h"

// Restricts the next searches to the count moves given (legal moves of the
// position to be searched, as the caller has checked); count 0 lifts the
// restriction. At most MAX_LIST_MOVES are kept.
void AllowOnlyRootMoves(SearchLimits& limits, const Move* moves, int count);

// True while only some root moves may be searched.
bool RootMovesRestricted(const SearchLimits& limits);

// True for every move when nothing is restricted.
bool RootMoveAllowed(const SearchLimits& limits, Move move);

// Keeps the allowed entries of the list [begin, end), in their order, and
// returns the new end.
MoveEntry* KeepAllowedRootMoves(const SearchLimits& limits, MoveEntry* begin, MoveEntry* end);
