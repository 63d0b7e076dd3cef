#include "engine/game.h"

#include <vector>

#include "board/castling.h"
#include "board/history_room.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "board/position.h"
#include "board/position_backup.h"
#include "platform/engine_log.h"
#include "search/search_state.h"

namespace {

constexpr int KEY_HALF_BITS = 32;
constexpr u64 KEY_LOW_HALF = 0xffffffffu;
constexpr size_t USUAL_GAME_PLIES = 1024;

PositionCopy GameStart;
std::vector<Move> GameMoves;
u32 GameLoad;  // the position load the game started from

// The key's high and low halves in hexadecimal, the log's number base restored.
void LogHashKey() {
  EngineLog << std::hex << (HashKey >> KEY_HALF_BITS) << ' ' << (HashKey & KEY_LOW_HALF) << std::dec
            << EndLine;
}

// A load that did not come through the game (a tool, a measurement) makes
// the position on the board the start of the game.
void FollowTheBoard() {
  if (GameLoad != PositionLoadCount() || !GameStart.Taken()) StartGameHere();
}

void MakeGameMove(Move move) {
  int side = static_cast<int>(SideToMove);
  MakeMove(move, *UndoTop);
  ++GameMoveCount;
  if (IsCastling(move)) {
    KingSquare[side] = static_cast<u8>(CastlingOf(move).kingTo);
    CastleRights &= static_cast<u16>(~CastleRightsOf[side]);
  }
  RefreshGameCopy();
  ClearHistoryScores();
  GameSideToMove ^= 1;
}

}  // namespace

bool StartGame(const char* positionText) {
  const bool loaded = LoadPosition(positionText);
  if (loaded || LastLoadOutcome() == LoadOutcome::EpdMoveNotRecognised) StartGameHere();
  return loaded;
}

void StartGameHere() {
  GameStart.Take();
  GameMoves.clear();
  GameMoves.reserve(USUAL_GAME_PLIES);
  GameLoad = PositionLoadCount();
}

bool PlayGameMove(Move move) {
  if (move == NO_MOVE) return false;
  FollowTheBoard();
  MakeGameMove(move);
  LogHashKey();
  KeepRoomInHistory();
  GameMoves.push_back(move);
  return true;
}

void RecordGameMove(Move move) {
  if (GameLoad != PositionLoadCount() || !GameStart.Taken()) {
    StartGameHere();  // the move already made is part of where the game starts
    return;
  }
  GameMoves.push_back(move);
}

void KeepingTheGame(void (*work)()) {
  PositionCopy before;
  before.Take();
  const bool inStep = GameLoad == PositionLoadCount();
  work();
  before.PutBack();
  UndoTop = UndoRecords;
  if (inStep) GameLoad = PositionLoadCount();
}

int MovesToTakeBack() {
  return GameLoad == PositionLoadCount() ? static_cast<int>(GameMoves.size()) : 0;
}

bool TakeBackMoves(int plies) {
  if (plies <= 0 || plies > MovesToTakeBack()) return false;
  GameMoves.resize(GameMoves.size() - static_cast<size_t>(plies));
  GameStart.PutBack();
  UndoTop = UndoRecords;
  for (Move move : GameMoves) {
    MakeGameMove(move);
    KeepRoomInHistory();
  }
  EngineLog << "-M: took back " << plies << (plies == 1 ? " move" : " moves") << EndLine;
  LogHashKey();
  return true;
}
