#include "book/polyglot_choice.h"

#include "book/polyglot_key.h"

std::vector<WeightedMove> PolyglotMoves(Position& pos, const PolyglotBook& book) {
  std::vector<WeightedMove> moves;
  for (const PolyglotEntry& entry : book.EntriesOf(PolyglotKey(pos))) {
    const Move move = MoveOfPolyglot(pos, entry.move);
    if (move == NO_MOVE) continue;
    bool seen = false;
    for (WeightedMove& known : moves) {
      if (known.move != move) continue;
      known.weight += entry.weight;
      seen = true;
    }
    if (!seen) moves.push_back({move, entry.weight});
  }
  return moves;
}

Move PickByWeight(const std::vector<WeightedMove>& moves, u64 draw) {
  u64 total = 0;
  for (const WeightedMove& candidate : moves) total += candidate.weight;
  if (total == 0) return NO_MOVE;
  draw %= total;
  for (const WeightedMove& candidate : moves) {
    if (draw < candidate.weight) return candidate.move;
    draw -= candidate.weight;
  }
  return NO_MOVE;
}
