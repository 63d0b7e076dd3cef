// The moves a Polyglot book gives the position on the board, and the pick
// among them in proportion to their weights.
#pragma once

#include <vector>

#include "board/position.h"
#include "board/types.h"
#include "book/polyglot_book.h"

struct WeightedMove {
  Move move;
  u32 weight;
};

// The legal moves of the position's entries, in the book's order; a move
// written twice counts once with the weights added, and an entry that is no
// legal move here (another position with the same key, a damaged entry) is
// passed over.
std::vector<WeightedMove> PolyglotMoves(Position& pos, const PolyglotBook& book);

// The move whose share of the total weight holds draw (taken modulo the
// total): each move is drawn in proportion to its weight, one of weight 0
// never. 0 when the weights add up to 0.
Move PickByWeight(const std::vector<WeightedMove>& moves, u64 draw);
