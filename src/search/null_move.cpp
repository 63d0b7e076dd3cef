#include "search/null_move.h"

#include "board/zobrist.h"

void MakeNullMove(UndoRecord& record) {
  HistoryTop->move = MOVE_NULL;
  u16 fifty = HistoryTop->fifty;
  ++HistoryTop;
  HistoryTop->fifty = static_cast<u16>(fifty + 1);

  record.savedHashKey = HashKey;
  record.savedPawnHashKey = PawnHashKey;
  record.savedEnPassant = EnPassantSquare;
  if (EnPassantSquare != 0) {
    u64 key = ZobristKeys[EN_PASSANT_KEY_ROW][EnPassantSquare];
    HashKey ^= key;
    PawnHashKey ^= static_cast<u32>(key);
    EnPassantSquare = 0;
  }
  // The king square of the side not to move travels in the material-delta
  // field, which a null move has no other use for.
  record.materialDelta = static_cast<i8>(KingSquare[SideToMove ^ 1]);
  record.savedCastleRights = CastleRights;

  HistoryTop->key = HashKey;
  SideToMove ^= 1;
}

void UnmakeNullMove(UndoRecord& record) {
  SideToMove ^= 1;
  KingSquare[SideToMove ^ 1] = static_cast<u8>(record.materialDelta);
  CastleRights = record.savedCastleRights;
  EnPassantSquare = record.savedEnPassant;
  PawnHashKey = record.savedPawnHashKey;
  HashKey = record.savedHashKey;
  --HistoryTop;
}
