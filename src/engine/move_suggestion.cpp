#include "engine/move_suggestion.h"

#include "engine/engine_setup.h"
#include "engine/search_settings.h"
#include "engine/time_control.h"
#include "movegen/legal_moves.h"

Move SuggestedMove(Position& pos) {
  if (const Move book = ChooseBookMove(pos); book != NO_MOVE) return book;
  const SearchSettings saved;
  SetQuietSearch();
  StartEngine(pos, false, SUGGESTION_DEPTH);
  const Move best = BestMove;
  saved.Restore();
  return IsGeneratedLegalMove(pos, best) ? best : NO_MOVE;
}
