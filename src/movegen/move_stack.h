// A move list entry, the room for the lists of every ply of a search, the
// piece values that order captures, and the rule by which the searches pick the next move.
#pragma once

#include <utility>

#include "board/position.h"

// A generated move and its ordering score; higher scores are tried first.
struct MoveEntry {
  i16 score;
  u16 move;
};
static_assert(sizeof(MoveEntry) == 4, "entries are copied and swapped as one 32-bit unit");

// The list of the first ply starts at entry 0 and each deeper ply's list starts
// where its parent's ends. Room for the longest list at each ply of the deepest
// line (PLY_RECORDS plies) and one more, so no position can overflow it.
constexpr int MOVE_STACK_SIZE = (PLY_RECORDS + 1) * MAX_LIST_MOVES;

// Piece values by piece code for ordering scores and the exchange evaluator.
inline constexpr i16 ExchangeValue[PIECE_CODE_COUNT] = {0,   100, 100, 320, 320, 325, 325,
                                                        500, 500, 950, 950, 2000, 2000};

// The generators' common signatures: write the list from out onward and return
// one past its last entry. Entry [c] of each table is for c to move.
using MoveGenerator = MoveEntry* (*)(Position& pos, MoveEntry* out);
using EvasionGenerator = MoveEntry* (*)(Position& pos, MoveEntry* out, const UndoRecord& record);

// Swaps the entry with the greatest score between next and end into next and
// returns it. Among equal scores the one generated first wins, so generation
// order breaks ties. The range must not be empty.
inline MoveEntry& SelectNextMove(MoveEntry* next, MoveEntry* end) {
  MoveEntry* best = next;
  for (MoveEntry* entry = next + 1; entry < end; ++entry) {
    if (entry->score > best->score) best = entry;
  }
  std::swap(*best, *next);
  return *next;
}
