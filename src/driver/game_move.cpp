#include "driver/game_move.h"

#include "board/castling.h"
#include "board/history_room.h"
#include "board/make_move.h"
#include "board/position.h"
#include "platform/engine_log.h"
#include "search/search_state.h"

namespace {

constexpr int KEY_HALF_BITS = 32;
constexpr u64 KEY_LOW_HALF = 0xffffffffu;

// The key's high and low halves in hexadecimal, the log's number base restored.
void LogHashKey() {
  EngineLog << std::hex << (HashKey >> KEY_HALF_BITS) << ' ' << (HashKey & KEY_LOW_HALF) << std::dec
            << EndLine;
}

}  // namespace

bool PlayGameMove(Move move) {
  if (move == NO_MOVE) return false;
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
  LogHashKey();
  KeepRoomInHistory();
  return true;
}
