#include "engine/engine_setup.h"

#include "board/attacks.h"
#include "board/check.h"
#include "board/position.h"
#include "book/book_folders.h"
#include "book/book_move.h"
#include "book/opening_book.h"
#include "engine/book_file.h"
#include "engine/strength_level.h"
#include "movegen/legal_moves.h"
#include "platform/engine_log.h"
#include "search/think.h"
#include "search/trans_table.h"

namespace {

bool IsGameEndCode(Move move) {
  return move == GAME_MATED || move == GAME_STALEMATE || move == GAME_REPETITION ||
         move == GAME_FIFTY_MOVES || move == GAME_NO_MATERIAL;
}

}  // namespace

Move FirstLegalMove(Position& pos) {
  UndoRecord record{};
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = GenerateMovesOf(pos, list, record);
  for (MoveEntry* entry = list; entry < end; ++entry) {
    if (IsGeneratedLegalMove(pos, entry->move)) return entry->move;
  }
  return NO_MOVE;
}

bool OpenBookFrom(Engine& engine, const std::string& namedFolder) {
  engine.NamedBookFolder = namedFolder;
  return OpenEngineBook(namedFolder);
}

bool InitEngine(Engine& engine) {
  Position& pos = engine.game;
  pos.UndoTop = pos.UndoRecords;
  InitBoardTables();
  ClearTransTable();
  return OpenBookFrom(engine, engine.NamedBookFolder);
}

Move ChooseBookMove(Engine& engine) {
  Position& pos = engine.game;
  if (!engine.UseOwnBook || pos.GameMoveCount >= BOOK_MOVE_LIMIT) return NO_MOVE;
  return UsingBookFile(engine) ? BookFileMove(engine) : BookMove(pos);
}

Move GameEndOnBoard(Position& pos) {
  if (FirstLegalMove(pos) != NO_MOVE) return NO_MOVE;
  UndoRecord record{};
  FindCheckers(pos, record);
  return record.checkers ? GAME_MATED : GAME_STALEMATE;
}

Move PlayableBestMove(Engine& engine) {
  Position& pos = engine.game;
  const Move best = LevelMove(engine);
  if (IsGameEndCode(best) || IsGeneratedLegalMove(pos, best)) return best;
  EngineLog << "-M: no move from the search (" << engine.searcher->BestMove << "), the first legal move is played" << EndLine;
  const Move first = FirstLegalMove(pos);
  return first != NO_MOVE ? first : GameEndOnBoard(pos);
}
