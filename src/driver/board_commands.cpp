#include "driver/board_commands.h"

#include <cinttypes>
#include <cstdio>

#include "board/make_move.h"
#include "board/move_text.h"
#include "board/position.h"
#include "board/position_soundness.h"
#include "board/position_text.h"
#include "driver/analysis.h"
#include "driver/command_loop.h"
#include "driver/pondering.h"
#include "driver/xboard.h"
#include "engine/game.h"
#include "engine/new_position.h"
#include "engine/position_report.h"
#include "engine/time_control.h"
#include "platform/blanks.h"
#include "platform/console_input.h"
#include "platform/engine_log.h"
#include "movegen/legal_moves.h"

namespace {

// The rest of a "setboard" line: 254 characters and the NUL.
constexpr size_t SETBOARD_TEXT_SIZE = 255;

// A board without a single piece: an interface's way to stop an analysis.
bool NamesNoPiece(const char* text) {
  while (IsBlank(*text)) ++text;
  for (; *text != '\0' && *text != ' '; ++text) {
    if (*text != '/' && (*text < '1' || *text > '8')) return false;
  }
  return true;
}

// Always logged; told to the interface when the position was refused.
void ReportIllegalPosition(bool toInterface) {
  EngineLog << "-M: tellusererror Illegal position" << EndLine;
  if (toInterface) std::printf("tellusererror Illegal position\n");
}

}  // namespace

bool AcceptsGameMove(Engine& engine, const char* word) {
  return engine.State != ENGINE_THINKING && engine.State != ENGINE_QUIT && ParseGameMove(engine.game, word) != NO_MOVE;
}

void GameMoveCommand(Engine& engine, const char* word) {
  Position& pos = engine.game;
  Move move = ParseGameMove(pos, word);
  // A word that says more than its move ("g1f3x", "e2e4Q") names no move.
  if (MoveText(move) != word) move = NO_MOVE;
  if (engine.State == ENGINE_PONDERING) {
    if (move == engine.PonderMove) {
      PonderHit(engine);
    } else {
      PonderMiss(engine, move, word);
    }
    return;
  }
  if (!IsGeneratedLegalMove(pos, move)) {
    std::printf("Illegal move: %s\n", word);
    return;
  }
  PlayGameMove(engine, move);
  if (engine.State == ENGINE_PLAYING) EngineMove(engine);
  if (engine.State == ENGINE_ANALYZING) engine.AnalysisPending = true;
}

void NewCommand(Engine& engine, const char*) {
  StartGame(engine, INITIAL_POSITION);
  engine.PonderMove = NO_MOVE;
  engine.DepthLimit = 0;  // a new game is played without the last game's depth limit,
  engine.NodesPerSecond = 0;  // on the wall clock, and with its clock still to be told
  engine.ClockKnown = false;
  if (engine.State == ENGINE_ANALYZING) {
    engine.AnalysisPending = true;
  } else {
    engine.State = ENGINE_PLAYING;
  }
}

void SetboardCommand(Engine& engine, const char*) {
  char text[SETBOARD_TEXT_SIZE];
  size_t length = ReadLine(text, sizeof text);
  if (length == sizeof text - 1 && text[length - 1] != '\n') SkipRestOfLine();
  EngineLog << "setboard " << text << EndLine;
  const bool loaded = StartGame(engine, text);
  const bool refused = !loaded && engine.LastLoadOutcome == LoadOutcome::Refused;
  if (!refused) engine.PonderMove = NO_MOVE;
  if (engine.State == ENGINE_ANALYZING) engine.AnalysisPending = !refused;
  if (loaded) return;
  // An unreadable bm/am move has had its own warning, and its position stands.
  // An empty board is how an interface stops an analysis: the log says it.
  ReportIllegalPosition(refused && !NamesNoPiece(text));
}

void SetSideToMove(Engine& engine, u32 side) {
  Position& pos = engine.game;
  LeavePondering(engine);
  if (side == pos.SideToMove) {
    pos.GameSideToMove = side;
    return;
  }
  pos.SideToMove = side;
  if (SideNotToMoveAttacked(pos)) {
    pos.SideToMove = side ^ 1;
    ReportIllegalPosition(true);
    return;
  }
  // The square a double step skipped is no target for the side it was made by.
  ClearEnPassantSquare(pos);
  pos.HistoryTop->key = pos.HashKey;
  RefreshGameCopy(pos);
  pos.GameSideToMove = side;
  StartGameHere(engine);  // moves before the switch cannot be taken back onto this board
}

void ShowBoardCommand(Engine& engine, const char*) { ShowPosition(engine.game); }
