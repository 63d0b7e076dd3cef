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
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/searcher.h"
#include "search/think.h"

namespace {

constexpr int KEY_HALF_BITS = 32;
constexpr u64 KEY_LOW_HALF = 0xffffffffu;
constexpr size_t USUAL_GAME_PLIES = 1024;

// The key's high and low halves in hexadecimal, the log's number base restored.
void LogHashKey(Position& pos) {
  EngineLog << std::hex << (pos.HashKey >> KEY_HALF_BITS) << ' ' << (pos.HashKey & KEY_LOW_HALF) << std::dec << EndLine;
}

// A load that did not come through the game (a tool, a measurement) makes
// the position on the board the start of the game.
void FollowTheBoard(Engine& engine) {
  if (engine.GameLoad != engine.game.LoadCount || !engine.GameStart.Taken()) StartGameHere(engine);
}

void MakeGameMove(Engine& engine, Move move) {
  Position& pos = engine.game;
  int side = static_cast<int>(pos.SideToMove);
  MakeMove(pos, move, *pos.UndoTop);
  ++pos.GameMoveCount;
  if (IsCastling(move)) {
    pos.KingSquare[side] = static_cast<u8>(CastlingOf(move).kingTo);
    pos.CastleRights &= static_cast<u16>(~CastleRightsOf[side]);
  }
  RefreshGameCopy(pos);
  if (Uses(engine.limits, KEPT_HISTORY)) {
    AgeHistoryScores(*engine.searcher);
  } else {
    ClearHistoryScores(*engine.searcher);
  }
  pos.GameSideToMove ^= 1;
}

}  // namespace

bool StartGame(Engine& engine, const char* positionText) {
  const bool loaded = LoadPosition(engine, positionText);
  if (loaded || engine.LastLoadOutcome == LoadOutcome::EpdMoveNotRecognised) {
    StartGameHere(engine);
    engine.GameStartText = positionText;
  }
  return loaded;
}

void StartGameHere(Engine& engine) {
  Position& pos = engine.game;
  engine.GameStartText.clear();
  engine.GameStart.Take(pos);
  engine.GameMoves.clear();
  engine.GameMoves.reserve(USUAL_GAME_PLIES);
  engine.GameLoad = engine.game.LoadCount;
}

bool PlayGameMove(Engine& engine, Move move) {
  Position& pos = engine.game;
  if (move == NO_MOVE) return false;
  FollowTheBoard(engine);
  MakeGameMove(engine, move);
  LogHashKey(pos);
  KeepRoomInHistory(pos);
  engine.GameMoves.push_back(move);
  return true;
}

void RecordGameMove(Engine& engine, Move move) {
  if (engine.GameLoad != engine.game.LoadCount || !engine.GameStart.Taken()) {
    StartGameHere(engine);  // the move already made is part of where the game starts
    return;
  }
  engine.GameMoves.push_back(move);
}

void KeepingTheGame(Engine& engine, const std::function<void()>& work) {
  Position& pos = engine.game;
  PositionCopy before;
  before.Take(pos);
  const bool inStep = engine.GameLoad == engine.game.LoadCount;
  work();
  before.PutBack(pos);
  pos.UndoTop = pos.UndoRecords;
  if (inStep) engine.GameLoad = engine.game.LoadCount;
}

int MovesToTakeBack(Engine& engine) {
  return engine.GameLoad == engine.game.LoadCount ? static_cast<int>(engine.GameMoves.size()) : 0;
}

bool TakeBackMoves(Engine& engine, int plies) {
  Position& pos = engine.game;
  if (plies <= 0 || plies > MovesToTakeBack(engine)) return false;
  engine.GameMoves.resize(engine.GameMoves.size() - static_cast<size_t>(plies));
  engine.GameStart.PutBack(pos);
  pos.UndoTop = pos.UndoRecords;
  for (Move move : engine.GameMoves) {
    MakeGameMove(engine, move);
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

  SavedGame(const Engine& engine, const Position& pos)
      : start(engine.GameStart), moves(engine.GameMoves), load(engine.GameLoad), startText(engine.GameStartText) {
    board.Take(pos);
  }
  void PutBack(Engine& engine, Position& pos) const {
    board.PutBack(pos);
    engine.GameStart = start;
    engine.GameMoves = moves;
    engine.GameLoad = load;
    engine.GameStartText = startText;
    pos.UndoTop = pos.UndoRecords;
  }
};

// How many of the game's moves the wanted moves begin with.
size_t MovesInCommon(Engine& engine, const std::vector<std::string>& wanted) {
  size_t common = 0;
  while (common < wanted.size() && common < engine.GameMoves.size() && wanted[common] == MoveText(engine.GameMoves[common])) {
    ++common;
  }
  return common;
}

}  // namespace

bool SetUpGame(Engine& engine, const std::string& positionText, const std::vector<std::string>& moves,
               std::string& error) {
  Position& pos = engine.game;
  const SavedGame saved(engine, pos);
  size_t common = 0;
  if (!engine.GameStartText.empty() && engine.GameStartText == positionText && engine.GameLoad == engine.game.LoadCount) {
    common = MovesInCommon(engine, moves);
    if (engine.GameMoves.size() > common) TakeBackMoves(engine, static_cast<int>(engine.GameMoves.size() - common));
  } else if (!StartGame(engine, positionText.c_str())) {
    error = "illegal position: " + positionText;
    saved.PutBack(engine, pos);
    return false;
  }
  pos.UndoTop = pos.UndoRecords;
  for (size_t i = common; i < moves.size(); ++i) {
    const Move move = ParseGameMove(pos, moves[i].c_str());
    if (move == NO_MOVE || moves[i] != MoveText(move) || !IsGeneratedLegalMove(pos, move)) {
      error = "illegal move: " + moves[i];
      saved.PutBack(engine, pos);
      return false;
    }
    PlayGameMove(engine, move);
  }
  return true;
}
