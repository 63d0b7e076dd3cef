#include "book/polyglot_key.h"

#include "board/position.h"

namespace {

constexpr int CASTLE_OFFSET = 768;
constexpr int EN_PASSANT_OFFSET = 772;
constexpr int TURN_OFFSET = 780;

// The format's piece numbers: black pawn 0, white pawn 1, black knight 2, ... white king 11.
constexpr int PolyglotPiece(int code) {
  const int colour = code & 1;
  const int kind = (code + colour) / 2;
  return 2 * (kind - 1) + colour;
}

// The rights in the format's order: white short, white long, black short, black long.
constexpr u16 RightsInOrder[4] = {CASTLE_WHITE_SHORT, CASTLE_WHITE_LONG, CASTLE_BLACK_SHORT, CASTLE_BLACK_LONG};

bool PawnCanTakeEnPassant(const u8* board, u32 sideToMove, int enPassantSquare) {
  const int pushed = enPassantSquare + EpVictimOffset[sideToMove];
  const u8 ownPawn = static_cast<u8>(PieceCode(PAWN, static_cast<int>(sideToMove)));
  const int file = FileOf(pushed);
  return (file > 0 && board[pushed - 1] == ownPawn) || (file < 7 && board[pushed + 1] == ownPawn);
}

}  // namespace

u64 PolyglotKeyOf(const u8* board, u32 sideToMove, u16 castleRights, int enPassantSquare) {
  u64 key = 0;
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    if (board[square] != EMPTY) key ^= PolyglotRandom[64 * PolyglotPiece(board[square]) + PolyglotSquare(square)];
  }
  for (int i = 0; i < 4; ++i) {
    if (castleRights & RightsInOrder[i]) key ^= PolyglotRandom[CASTLE_OFFSET + i];
  }
  if (enPassantSquare != 0 && PawnCanTakeEnPassant(board, sideToMove, enPassantSquare)) {
    key ^= PolyglotRandom[EN_PASSANT_OFFSET + FileOf(enPassantSquare)];
  }
  if (sideToMove == WHITE) key ^= PolyglotRandom[TURN_OFFSET];
  return key;
}

u64 PolyglotKey(Position& pos) {
  return PolyglotKeyOf(pos.Board, pos.SideToMove, pos.CastleRights, pos.EnPassantSquare);
}
