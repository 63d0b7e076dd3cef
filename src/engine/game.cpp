#include "engine/game.h"

#include <vector>

#include "board/castling.h"
#include "board/history_room.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/position.h"
#include "board/position_backup.h"
#include "engine/new_position.h"
#include "movegen/legal_moves.h"
#include "platform/engine_log.h"
#include "search/search_state.h"

namespace {

constexpr int KEY_HALF_BITS = 32;
constexpr u64 KEY_LOW_HALF = 0xffffffffu;
constexpr size_t USUAL_GAME_PLIES = 1024;

PositionCopy GameStart;
std::vector<Move> GameMoves;
u32 GameLoad;  // the position load the game started from
std::string GameStartText;  // the text it was loaded from; empty when it began otherwise

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
  if (loaded || LastLoadOutcome() == LoadOutcome::EpdMoveNotRecognised) {
    StartGameHere();
    GameStartText = positionText;
  }
  return loaded;
}

void StartGameHere() {
  GameStartText.clear();
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

namespace {

// Everything a set-up may change, to be put back when it fails.
struct SavedGame {
  PositionCopy board, start;
  std::vector<Move> moves;
  u32 load;
  std::string startText;

  SavedGame() : start(GameStart), moves(GameMoves), load(GameLoad), startText(GameStartText) { board.Take(); }
  void PutBack() const {
    board.PutBack();
    GameStart = start;
    GameMoves = moves;
    GameLoad = load;
    GameStartText = startText;
    UndoTop = UndoRecords;
  }
};

// How many of the game's moves the wanted moves begin with.
size_t MovesInCommon(const std::vector<std::string>& wanted) {
  size_t common = 0;
  while (common < wanted.size() && common < GameMoves.size() && wanted[common] == MoveText(GameMoves[common])) {
    ++common;
  }
  return common;
}

}  // namespace

bool SetUpGame(const std::string& positionText, const std::vector<std::string>& moves, std::string& error) {
  const SavedGame saved;
  size_t common = 0;
  if (!GameStartText.empty() && GameStartText == positionText && GameLoad == PositionLoadCount()) {
    common = MovesInCommon(moves);
    if (GameMoves.size() > common) TakeBackMoves(static_cast<int>(GameMoves.size() - common));
  } else if (!StartGame(positionText.c_str())) {
    error = "illegal position: " + positionText;
    saved.PutBack();
    return false;
  }
  UndoTop = UndoRecords;
  for (size_t i = common; i < moves.size(); ++i) {
    const Move move = ParseGameMove(moves[i].c_str());
    if (move == NO_MOVE || moves[i] != MoveText(move) || !IsGeneratedLegalMove(move)) {
      error = "illegal move: " + moves[i];
      saved.PutBack();
      return false;
    }
    PlayGameMove(move);
  }
  return true;
}
