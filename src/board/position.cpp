#include "board/position.h"

#include <algorithm>
#include <iterator>

u32 SideToMove = WHITE;
u8 Board[SQUARE_COUNT];
u64 PieceBB[11];
u64 ColourBB[2];
u64 Occupied;
u64 OccupiedByFile;
u64 OccupiedDiagUp;
u64 OccupiedDiagDown;
u8 KingSquare[2];
u16 CastleRights;
u8 EnPassantSquare;
u8 TotalMaterial;
u8 PieceMaterial[2];
u8 PawnCount[2];
u64 HashKey;
u32 PawnHashKey;

HistoryEntry History[HISTORY_SIZE];
HistoryEntry* HistoryTop = History;

u8 GameBoard[SQUARE_COUNT];
u32 GameSideToMove = WHITE;
u16 GameCastleRights;
u8 GameEnPassantSquare;
u8 GameWhiteKingSquare;
u8 GameBlackKingSquare;
u16 GameMoveCount = 1;

Move EpdBestMove;
Move EpdAvoidMove;

UndoRecord UndoRecords[PLY_RECORDS];
UndoRecord* UndoTop = UndoRecords;

void SavePositionForUndo(UndoRecord& record) {
  record.savedOccupied = Occupied;
  record.savedOwnPieces = ColourBB[SideToMove];
  record.savedByFile = OccupiedByFile;
  record.savedDiagUp = OccupiedDiagUp;
  record.savedDiagDown = OccupiedDiagDown;
  record.savedHashKey = HashKey;
  record.savedPawnHashKey = PawnHashKey;
  record.savedCastleRights = CastleRights;
  record.savedEnPassant = EnPassantSquare;
}

void RefreshGameCopy() {
  std::copy(std::begin(Board), std::end(Board), std::begin(GameBoard));
  GameCastleRights = CastleRights;
  GameEnPassantSquare = EnPassantSquare;
  GameWhiteKingSquare = WhiteKingSquare;
  GameBlackKingSquare = BlackKingSquare;
}
