#include "driver/pondering.h"

#include <cstdio>

#include "board/make_move.h"
#include "board/move_text.h"
#include "movegen/legal_moves.h"
#include "driver/command_loop.h"
#include "platform/engine_log.h"
#include "driver/game_move.h"
#include "driver/time_control.h"
#include "driver/xboard.h"

Move PonderMove;
UndoRecord PonderRecord;

namespace {
constexpr u8 PONDER_DEPTH = 128;
}

void StartPondering(Move guess) {
  SavePositionForUndo(PonderRecord);
  EngineState = ENGINE_PONDERING;
  UndoTop = &PonderRecord;
  PonderMove = guess;
  MakeMove(guess, PonderRecord);
  UndoTop = UndoRecords;
  StartEngine(false, PONDER_DEPTH);
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, guess);
  EngineLog << "-ponder move: " << text << EndLine;
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
