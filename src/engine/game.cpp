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
#include "search/think.h"

namespace {

constexpr int KEY_HALF_BITS = 32;
constexpr u64 KEY_LOW_HALF = 0xffffffffu;
constexpr size_t USUAL_GAME_PLIES = 1024;

PositionCopy GameStart;
std::vector<Move> GameMoves;
u32 GameLoad;  // the position load the game started from
std::string GameStartText;  // the text it was loaded from; empty when it began otherwise

// The key's high and low halves in hexadecimal, the log's number base restored.
void LogHashKey(Position& pos) {
  EngineLog << std::hex << (pos.HashKey >> KEY_HALF_BITS) << ' ' << (pos.HashKey & KEY_LOW_HALF) << std::dec << EndLine;
}

// A load that did not come through the game (a tool, a measurement) makes
// the position on the board the start of the game.
void FollowTheBoard(Position& pos) {
  if (GameLoad != PositionLoadCount() || !GameStart.Taken()) StartGameHere(pos);
}

void MakeGameMove(Engine& engine, Position& pos, Move move) {
  int side = static_cast<int>(pos.SideToMove);
  MakeMove(pos, move, *pos.UndoTop);
  ++pos.GameMoveCount;
  if (IsCastling(move)) {
    pos.KingSquare[side] = static_cast<u8>(CastlingOf(move).kingTo);
    pos.CastleRights &= static_cast<u16>(~CastleRightsOf[side]);
  }
  RefreshGameCopy(pos);
  ClearHistoryScores(*engine.searcher);
  pos.GameSideToMove ^= 1;
}

}  // namespace

bool StartGame(Engine& engine, Position& pos, const char* positionText) {
  const bool loaded = LoadPosition(engine, pos, positionText);
  if (loaded || LastLoadOutcome() == LoadOutcome::EpdMoveNotRecognised) {
    StartGameHere(pos);
    GameStartText = positionText;
  }
  return loaded;
}

void StartGameHere(Position& pos) {
  GameStartText.clear();
  GameStart.Take(pos);
  GameMoves.clear();
  GameMoves.reserve(USUAL_GAME_PLIES);
  GameLoad = PositionLoadCount();
}

bool PlayGameMove(Engine& engine, Position& pos, Move move) {
  if (move == NO_MOVE) return false;
  FollowTheBoard(pos);
  MakeGameMove(engine, pos, move);
  LogHashKey(pos);
  KeepRoomInHistory(pos);
  GameMoves.push_back(move);
  return true;
}

void RecordGameMove(Position& pos, Move move) {
  if (GameLoad != PositionLoadCount() || !GameStart.Taken()) {
    StartGameHere(pos);  // the move already made is part of where the game starts
    return;
  }
  GameMoves.push_back(move);
}

void KeepingTheGame(Position& pos, const std::function<void(Position&)>& work) {
  PositionCopy before;
  before.Take(pos);
  const bool inStep = GameLoad == PositionLoadCount();
  work(pos);
  before.PutBack(pos);
  pos.UndoTop = pos.UndoRecords;
  if (inStep) GameLoad = PositionLoadCount();
}

int MovesToTakeBack() {
  return GameLoad == PositionLoadCount() ? static_cast<int>(GameMoves.size()) : 0;
}

bool TakeBackMoves(Engine& engine, Position& pos, int plies) {
  if (plies <= 0 || plies > MovesToTakeBack()) return false;
  GameMoves.resize(GameMoves.size() - static_cast<size_t>(plies));
  GameStart.PutBack(pos);
  pos.UndoTop = pos.UndoRecords;
  for (Move move : GameMoves) {
    MakeGameMove(engine, pos, move);
    KeepRoomInHistory(pos);
  }
  EngineLog << "-M: took back " << plies << (plies == 1 ? " move" : " moves") << EndLine;
  LogHashKey(pos);
  return true;
}

namespace {

// Everything a set-up may change, to be put back when it fails.
struct SavedGame {
  PositionCopy board, start;
  std::vector<Move> moves;
  u32 load;
  std::string startText;

  explicit SavedGame(const Position& pos)
      : start(GameStart), moves(GameMoves), load(GameLoad), startText(GameStartText) {
    board.Take(pos);
  }
  void PutBack(Position& pos) const {
    board.PutBack(pos);
    GameStart = start;
    GameMoves = moves;
    GameLoad = load;
    GameStartText = startText;
    pos.UndoTop = pos.UndoRecords;
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

bool SetUpGame(Engine& engine, Position& pos, const std::string& positionText, const std::vector<std::string>& moves,
               std::string& error) {
  const SavedGame saved(pos);
  size_t common = 0;
  if (!GameStartText.empty() && GameStartText == positionText && GameLoad == PositionLoadCount()) {
    common = MovesInCommon(moves);
    if (GameMoves.size() > common) TakeBackMoves(engine, pos, static_cast<int>(GameMoves.size() - common));
  } else if (!StartGame(engine, pos, positionText.c_str())) {
    error = "illegal position: " + positionText;
    saved.PutBack(pos);
    return false;
  }
  pos.UndoTop = pos.UndoRecords;
  for (size_t i = common; i < moves.size(); ++i) {
    const Move move = ParseGameMove(pos, moves[i].c_str());
    if (move == NO_MOVE || moves[i] != MoveText(move) || !IsGeneratedLegalMove(pos, move)) {
      error = "illegal move: " + moves[i];
      saved.PutBack(pos);
      return false;
    }
    PlayGameMove(engine, pos, move);
  }
  return true;
}
