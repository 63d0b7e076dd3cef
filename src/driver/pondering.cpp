#include "driver/pondering.h"

#include <cstdio>

#include "board/make_move.h"
#include "board/move_text.h"
#include "driver/analysis.h"
#include "driver/command_loop.h"
#include "driver/xboard.h"
#include "engine/game.h"
#include "engine/time_control.h"
#include "movegen/legal_moves.h"
#include "platform/engine_log.h"


void StartPondering(Engine& engine, Move guess) {
  Position& pos = engine.game;
  engine.BookMovesBeforeSearch = BookMovesText(engine);
  SavePositionForUndo(pos, engine.PonderRecord);
  engine.State = ENGINE_PONDERING;
  pos.UndoTop = &engine.PonderRecord;
  engine.PonderMove = guess;
  MakeMove(pos, guess, engine.PonderRecord);
  pos.UndoTop = pos.UndoRecords;
  engine.SearchRunning = true;
  StartEngine(engine, false, UNLIMITED_DEPTH, SearchMode::Ponder);
  engine.SearchRunning = false;
  EngineLog << "-ponder move: " << MoveText(guess) << EndLine;
}

void TakeBackPonderMove(Engine& engine) {
  Position& pos = engine.game;
  if (engine.PonderMove == NO_MOVE) return;
  pos.UndoTop = &engine.PonderRecord;
  UnmakeMove(pos, engine.PonderMove, engine.PonderRecord);
  engine.PonderMove = NO_MOVE;
  pos.UndoTop = pos.UndoRecords;
}

void LeavePondering(Engine& engine) {
  if (engine.State != ENGINE_PONDERING) return;
  TakeBackPonderMove(engine);
  engine.State = ENGINE_PLAYING;
}

void PonderHit(Engine& engine) {
  Position& pos = engine.game;
  ++pos.GameMoveCount;
  // The guess becomes a move of the game: the game copy follows it.
  RefreshGameCopy(pos);
  pos.GameSideToMove ^= 1;
  RecordGameMove(engine, engine.PonderMove);
  engine.PonderMove = NO_MOVE;
  EngineLog << "-GOOD PONDER" << EndLine;
  EngineMove(engine);
}

void PonderMiss(Engine& engine, Move move, const char* word) {
  Position& pos = engine.game;
  EngineLog << "-BAD PONDER" << EndLine;
  TakeBackPonderMove(engine);
  engine.State = ENGINE_PLAYING;
  if (!IsGeneratedLegalMove(pos, move)) {
    std::printf("Illegal move: %s\n", word);
    return;
  }
  PlayGameMove(engine, move);
  EngineMove(engine);
}
