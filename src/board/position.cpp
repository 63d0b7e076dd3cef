#include "board/position.h"

void SavePositionForUndo(const Position& pos, UndoRecord& record) {
  record.savedOccupied = pos.Occupied;
  record.savedOwnPieces = pos.ColourBB[pos.SideToMove];
  record.savedByFile = pos.OccupiedByFile;
  record.savedDiagUp = pos.OccupiedDiagUp;
  record.savedDiagDown = pos.OccupiedDiagDown;
  record.savedHashKey = pos.HashKey;
  record.savedPawnHashKey = pos.PawnHashKey;
  record.savedCastleRights = pos.CastleRights;
  record.savedEnPassant = pos.EnPassantSquare;
}

void RefreshGameCopy(Position& pos) {
  std::copy(std::begin(pos.Board), std::end(pos.Board), std::begin(pos.GameBoard));
  pos.GameCastleRights = pos.CastleRights;
  pos.GameEnPassantSquare = pos.EnPassantSquare;
  pos.GameWhiteKingSquare = pos.KingSquare[WHITE];
  pos.GameBlackKingSquare = pos.KingSquare[BLACK];
}
