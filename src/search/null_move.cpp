#include "search/null_move.h"

#include "board/make_move.h"

void MakeNullMove(Position& pos, UndoRecord& record) {
  record.savedHashKey = pos.HashKey;
  record.savedPawnHashKey = pos.PawnHashKey;
  record.savedEnPassant = pos.EnPassantSquare;
  ClearEnPassantSquare(pos);
  // The king square of the side not to move travels in the material-delta
  // field, which a null move has no other use for.
  record.materialDelta = static_cast<i8>(pos.KingSquare[pos.SideToMove ^ 1]);
  record.savedCastleRights = pos.CastleRights;

  pos.HistoryTop->move = MOVE_NULL;
  u16 fifty = pos.HistoryTop->fifty;
  ++pos.HistoryTop;
  pos.HistoryTop->fifty = static_cast<u16>(fifty + 1);
  pos.HistoryTop->key = pos.HashKey;
  pos.SideToMove ^= 1;
}

void UnmakeNullMove(Position& pos, UndoRecord& record) {
  pos.SideToMove ^= 1;
  pos.KingSquare[pos.SideToMove ^ 1] = static_cast<u8>(record.materialDelta);
  pos.CastleRights = record.savedCastleRights;
  pos.EnPassantSquare = record.savedEnPassant;
  pos.PawnHashKey = record.savedPawnHashKey;
  pos.HashKey = record.savedHashKey;
  --pos.HistoryTop;
}
