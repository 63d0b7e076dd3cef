#include "engine/move_suggestion.h"

#include "engine/engine_setup.h"
#include "engine/search_settings.h"
#include "engine/time_control.h"
#include "movegen/legal_moves.h"

Move SuggestedMove() {
  if (const Move book = ChooseBookMove(); book != NO_MOVE) return book;
  const SearchSettings saved;
  SetQuietSearch();
  StartEngine(false, SUGGESTION_DEPTH);
  const Move best = BestMove;
  saved.Restore();
  return IsGeneratedLegalMove(best) ? best : NO_MOVE;
}
