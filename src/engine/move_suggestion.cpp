#include "engine/move_suggestion.h"

#include "engine/engine_setup.h"
#include "engine/search_settings.h"
#include "engine/time_control.h"
#include "movegen/legal_moves.h"

Move SuggestedMove(Engine& engine) {
  Position& pos = engine.game;
  if (const Move book = ChooseBookMove(engine); book != NO_MOVE) return book;
  const SearchSettings saved(engine);
  SetQuietSearch(engine.limits);
  StartEngine(engine, false, SUGGESTION_DEPTH);
  const Move best = engine.searcher->BestMove;
  saved.Restore();
  return IsGeneratedLegalMove(pos, best) ? best : NO_MOVE;
}
