#include "board/make_move.h"

#include "board/bitboard.h"
#include "board/castling.h"

namespace {

// Puts back a piece that moved from one square to another (kinds 0 and 1).
void UnmovePiece(int from, int to, int side, const UndoRecord& record) {
  int piece = Board[to];
  if (piece >= WHITE_KING) {
    KingSquare[side] = static_cast<u8>(from);
  } else {
    PieceBB[piece] = record.savedMoverBB;
  }
  Board[from] = static_cast<u8>(piece);
}

void UnmakeCapture(int from, int to, int side, const UndoRecord& record) {
  int opp = side ^ 1;
  CastleRights = record.savedCastleRights;
  TotalMaterial = static_cast<u8>(TotalMaterial - record.materialDelta);
  if (record.captured > BLACK_PAWN) {
    PieceMaterial[opp] = static_cast<u8>(PieceMaterial[opp] - record.materialDelta);
  } else {
    ++PawnCount[opp];
  }
  PieceBB[record.captured] |= SquareMask[to];
  ColourBB[opp] |= SquareMask[to];
  UnmovePiece(from, to, side, record);
  Board[to] = record.captured;
}

void UnmakeEnPassant(int from, int to, int side, const UndoRecord& record) {
  int opp = side ^ 1;
  ++TotalMaterial;
  Board[from] = Board[to];
  Board[to] = EMPTY;
  int victim = to + EpVictimOffset[side];
  ++PawnCount[opp];
  Board[victim] = record.captured;
  ColourBB[opp] |= SquareMask[victim];
  PieceBB[record.captured] |= SquareMask[victim];
  PieceBB[Board[from]] = record.savedMoverBB;
}

void UnmakePromotion(int from, int to, int side, const UndoRecord& record) {
  PieceMaterial[side] = static_cast<u8>(PieceMaterial[side] - (record.materialDelta + 1));
  TotalMaterial = static_cast<u8>(TotalMaterial - record.materialDelta);
  int pawn = PieceCode(PAWN, side);
  Board[from] = static_cast<u8>(pawn);
  PieceBB[pawn] = record.savedMoverBB;
  ++PawnCount[side];
  PieceBB[Board[to]] ^= SquareMask[to];
  Board[to] = EMPTY;
}

void UnmakeCapturePromotion(int from, int to, int side, const UndoRecord& record) {
  int opp = side ^ 1;
  CastleRights = record.savedCastleRights;
  TotalMaterial = static_cast<u8>(TotalMaterial - record.materialDelta);
  ++PawnCount[side];
  int pawn = PieceCode(PAWN, side);
  Board[from] = static_cast<u8>(pawn);
  PieceBB[pawn] = record.savedMoverBB;
  PieceBB[record.captured] |= SquareMask[to];
  int promoted = Board[to];
  PieceBB[promoted] ^= SquareMask[to];
  ColourBB[opp] |= SquareMask[to];
  PieceMaterial[side] = static_cast<u8>(PieceMaterial[side] - PieceValue[promoted]);
  PieceMaterial[opp] = static_cast<u8>(PieceMaterial[opp] + PieceValue[record.captured]);
  Board[to] = record.captured;
}

void UnmakeCastling(Move move, int side, const UndoRecord& record) {
  const CastlingMove& castling = CastlingOf(move);
  CastleRights = record.savedCastleRights;
  KingSquare[side] = static_cast<u8>(castling.kingFrom);
  int rook = PieceCode(ROOK, side);
  Board[castling.kingFrom] = static_cast<u8>(PieceCode(KING, side));
  Board[castling.rookFrom] = static_cast<u8>(rook);
  Board[castling.kingTo] = EMPTY;
  Board[castling.rookTo] = EMPTY;
  PieceBB[rook] ^= SquareMask[castling.rookFrom] | SquareMask[castling.rookTo];
}

// Kinds 1, 2 and 4 to 15, kept out of the quiet moves' way.
[[gnu::noinline]] void UnmakeOtherMove(Move move, int side, const UndoRecord& record) {
  int from = MoveFrom(move), to = MoveTo(move), kind = MoveKind(move);
  switch (kind) {
    case KIND_CAPTURE:
      UnmakeCapture(from, to, side, record);
      break;
    case KIND_EN_PASSANT:
      UnmakeEnPassant(from, to, side, record);
      break;
    case KIND_PROMOTE_QUEEN:
    case KIND_PROMOTE_KNIGHT:
    case KIND_PROMOTE_ROOK:
    case KIND_PROMOTE_BISHOP:
      UnmakePromotion(from, to, side, record);
      break;
    case KIND_CAPTURE_PROMOTE_QUEEN:
    case KIND_CAPTURE_PROMOTE_KNIGHT:
    case KIND_CAPTURE_PROMOTE_ROOK:
    case KIND_CAPTURE_PROMOTE_BISHOP:
      UnmakeCapturePromotion(from, to, side, record);
      break;
    default:
      UnmakeCastling(move, side, record);
      break;
  }
}

}  // namespace

void UnmakeMove(Move move, UndoRecord& record) {
  RejectNotAMove(move);
  SideToMove ^= 1;
  int side = static_cast<int>(SideToMove);
  OccupiedByFile = record.savedByFile;
  OccupiedDiagUp = record.savedDiagUp;
  OccupiedDiagDown = record.savedDiagDown;
  Occupied = record.savedOccupied;
  ColourBB[side] = record.savedOwnPieces;
  EnPassantSquare = record.savedEnPassant;
  HashKey = record.savedHashKey;
  PawnHashKey = record.savedPawnHashKey;
  if (MoveKind(move) == KIND_QUIET) {
    int from = MoveFrom(move), to = MoveTo(move);
    CastleRights = record.savedCastleRights;
    UnmovePiece(from, to, side, record);
    Board[to] = EMPTY;
  } else {
    UnmakeOtherMove(move, side, record);
  }
  --HistoryTop;
}
