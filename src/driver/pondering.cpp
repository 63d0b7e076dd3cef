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

Move PonderMove;
UndoRecord PonderRecord;

void StartPondering(Move guess) {
  BookMovesBeforeSearch = BookMovesText();
  SavePositionForUndo(PonderRecord);
  EngineState = ENGINE_PONDERING;
  UndoTop = &PonderRecord;
  PonderMove = guess;
  MakeMove(guess, PonderRecord);
  UndoTop = UndoRecords;
  SearchRunning = true;
  StartEngine(false, UNLIMITED_DEPTH, SearchMode::Ponder);
  SearchRunning = false;
  EngineLog << "-ponder move: " << MoveText(guess) << EndLine;
}

void TakeBackPonderMove() {
  if (PonderMove == NO_MOVE) return;
  UndoTop = &PonderRecord;
  UnmakeMove(PonderMove, PonderRecord);
  PonderMove = NO_MOVE;
  UndoTop = UndoRecords;
}

void LeavePondering() {
  if (EngineState != ENGINE_PONDERING) return;
  TakeBackPonderMove();
  EngineState = ENGINE_PLAYING;
}

void PonderHit() {
  ++GameMoveCount;
  // The guess becomes a move of the game: the game copy follows it.
  RefreshGameCopy();
  GameSideToMove ^= 1;
  RecordGameMove(PonderMove);
  PonderMove = NO_MOVE;
  EngineLog << "-GOOD PONDER" << EndLine;
  EngineMove();
}

void PonderMiss(Move move, const char* word) {
  EngineLog << "-BAD PONDER" << EndLine;
  TakeBackPonderMove();
  EngineState = ENGINE_PLAYING;
  if (!IsGeneratedLegalMove(move)) {
    std::printf("Illegal move: %s\n", word);
    return;
  }
  PlayGameMove(move);
  EngineMove();
}
