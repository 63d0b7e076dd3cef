#include "search/null_move.h"

#include "board/make_move.h"

void MakeNullMove(UndoRecord& record) {
  record.savedHashKey = HashKey;
  record.savedPawnHashKey = PawnHashKey;
  record.savedEnPassant = EnPassantSquare;
  ClearEnPassantSquare();
  // The king square of the side not to move travels in the material-delta
  // field, which a null move has no other use for.
  record.materialDelta = static_cast<i8>(KingSquare[SideToMove ^ 1]);
  record.savedCastleRights = CastleRights;

  HistoryTop->move = MOVE_NULL;
  u16 fifty = HistoryTop->fifty;
  ++HistoryTop;
  HistoryTop->fifty = static_cast<u16>(fifty + 1);
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
