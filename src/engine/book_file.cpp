#include "engine/book_file.h"

#include <random>

#include "board/position.h"
#include "book/book_move.h"
#include "book/polyglot_choice.h"
#include "engine/engine_setup.h"

namespace {

u64 RandomDraw() {
  static std::mt19937_64 generator{std::random_device{}()};
  return generator();
}

}  // namespace

bool OpenBookFile(Engine& engine, const std::string& path) {
  if (path.empty()) {
    engine.BookFile.Close();
    engine.BookFile.Message().Format("no Polyglot book");
    return true;
  }
  return engine.BookFile.Open(path);
}

bool UsingBookFile(Engine& engine) { return engine.BookFile.IsOpen(); }

const char* BookFileMessage(Engine& engine) { return engine.BookFile.Message().Text(); }

Move BookFileMove(Engine& engine) { return PickByWeight(PolyglotMoves(engine.game, engine.BookFile), RandomDraw()); }

std::vector<BookChoice> BookChoices(Engine& engine) {
  Position& pos = engine.game;
  std::vector<BookChoice> choices;
  if (!engine.UseOwnBook) return choices;
  if (!UsingBookFile(engine)) {
    Move candidates[MAX_LIST_MOVES];
    const int count = BookCandidates(pos, candidates);
    for (int i = 0; i < count; ++i) choices.push_back({candidates[i], std::nullopt});
    return choices;
  }
  const std::vector<WeightedMove> moves = PolyglotMoves(pos, engine.BookFile);
  double total = 0;
  for (const WeightedMove& move : moves) total += move.weight;
  for (const WeightedMove& move : moves) choices.push_back({move.move, total > 0 ? 100 * move.weight / total : 0});
  return choices;
}
