#include "engine/search_moves.h"

#include <algorithm>

#include "board/move_text.h"
#include "movegen/legal_moves.h"
#include "search/root_moves.h"

int SearchOnlyMoves(Engine& engine, const std::vector<std::string>& texts) {
  Position& pos = engine.game;
  Move moves[MAX_LIST_MOVES];
  int count = 0;
  for (const std::string& text : texts) {
    const Move move = ParseBoardMove(pos, text.c_str());
    if (count == MAX_LIST_MOVES || move == NO_MOVE || text != MoveText(move) || !IsGeneratedLegalMove(pos, move))
      continue;
    if (std::find(moves, moves + count, move) == moves + count) moves[count++] = move;
  }
  AllowOnlyRootMoves(engine.limits, moves, count);
  return count;
}

void SearchEveryMove(Engine& engine) { AllowOnlyRootMoves(engine.limits, nullptr, 0); }
