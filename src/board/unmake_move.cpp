#include "board/make_move.h"

#include "board/bitboard.h"
#include "board/castling.h"

namespace {

// Puts back a piece that moved from one square to another (kinds 0 and 1).
void UnmovePiece(Position& pos, int from, int to, int side, const UndoRecord& record) {
  int piece = pos.Board[to];
  if (piece >= WHITE_KING) {
    pos.KingSquare[side] = static_cast<u8>(from);
  } else {
    pos.PieceBB[piece] = record.savedMoverBB;
  }
  pos.Board[from] = static_cast<u8>(piece);
}

void UnmakeCapture(Position& pos, int from, int to, int side, const UndoRecord& record) {
  int opp = side ^ 1;
  pos.CastleRights = record.savedCastleRights;
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial - record.materialDelta);
  if (record.captured > BLACK_PAWN) {
    pos.PieceMaterial[opp] = static_cast<u8>(pos.PieceMaterial[opp] - record.materialDelta);
  } else {
    ++pos.PawnCount[opp];
  }
  pos.PieceBB[record.captured] |= SquareMask[to];
  pos.ColourBB[opp] |= SquareMask[to];
  UnmovePiece(pos, from, to, side, record);
  pos.Board[to] = record.captured;
}

void UnmakeEnPassant(Position& pos, int from, int to, int side, const UndoRecord& record) {
  int opp = side ^ 1;
  ++pos.TotalMaterial;
  pos.Board[from] = pos.Board[to];
  pos.Board[to] = EMPTY;
  int victim = to + EpVictimOffset[side];
  ++pos.PawnCount[opp];
  pos.Board[victim] = record.captured;
  pos.ColourBB[opp] |= SquareMask[victim];
  pos.PieceBB[record.captured] |= SquareMask[victim];
  pos.PieceBB[pos.Board[from]] = record.savedMoverBB;
}

void UnmakePromotion(Position& pos, int from, int to, int side, const UndoRecord& record) {
  pos.PieceMaterial[side] = static_cast<u8>(pos.PieceMaterial[side] - (record.materialDelta + 1));
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial - record.materialDelta);
  int pawn = PieceCode(PAWN, side);
  pos.Board[from] = static_cast<u8>(pawn);
  pos.PieceBB[pawn] = record.savedMoverBB;
  ++pos.PawnCount[side];
  pos.PieceBB[pos.Board[to]] ^= SquareMask[to];
  pos.Board[to] = EMPTY;
}

void UnmakeCapturePromotion(Position& pos, int from, int to, int side, const UndoRecord& record) {
  int opp = side ^ 1;
  pos.CastleRights = record.savedCastleRights;
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial - record.materialDelta);
  ++pos.PawnCount[side];
  int pawn = PieceCode(PAWN, side);
  pos.Board[from] = static_cast<u8>(pawn);
  pos.PieceBB[pawn] = record.savedMoverBB;
  pos.PieceBB[record.captured] |= SquareMask[to];
  int promoted = pos.Board[to];
  pos.PieceBB[promoted] ^= SquareMask[to];
  pos.ColourBB[opp] |= SquareMask[to];
  pos.PieceMaterial[side] = static_cast<u8>(pos.PieceMaterial[side] - PieceValue[promoted]);
  pos.PieceMaterial[opp] = static_cast<u8>(pos.PieceMaterial[opp] + PieceValue[record.captured]);
  pos.Board[to] = record.captured;
}

void UnmakeCastling(Position& pos, Move move, int side, const UndoRecord& record) {
  const CastlingMove& castling = CastlingOf(move);
  pos.CastleRights = record.savedCastleRights;
  pos.KingSquare[side] = static_cast<u8>(castling.kingFrom);
  int rook = PieceCode(ROOK, side);
  pos.Board[castling.kingFrom] = static_cast<u8>(PieceCode(KING, side));
  pos.Board[castling.rookFrom] = static_cast<u8>(rook);
  pos.Board[castling.kingTo] = EMPTY;
  pos.Board[castling.rookTo] = EMPTY;
  pos.PieceBB[rook] ^= SquareMask[castling.rookFrom] | SquareMask[castling.rookTo];
}

// Kinds 1, 2 and 4 to 15, kept out of the quiet moves' way.
[[gnu::noinline]] void UnmakeOtherMove(Position& pos, Move move, int side, const UndoRecord& record) {
  int from = MoveFrom(move), to = MoveTo(move), kind = MoveKind(move);
  switch (kind) {
    case KIND_CAPTURE:
      UnmakeCapture(pos, from, to, side, record);
      break;
    case KIND_EN_PASSANT:
      UnmakeEnPassant(pos, from, to, side, record);
      break;
    case KIND_PROMOTE_QUEEN:
    case KIND_PROMOTE_KNIGHT:
    case KIND_PROMOTE_ROOK:
    case KIND_PROMOTE_BISHOP:
      UnmakePromotion(pos, from, to, side, record);
      break;
    case KIND_CAPTURE_PROMOTE_QUEEN:
    case KIND_CAPTURE_PROMOTE_KNIGHT:
    case KIND_CAPTURE_PROMOTE_ROOK:
    case KIND_CAPTURE_PROMOTE_BISHOP:
      UnmakeCapturePromotion(pos, from, to, side, record);
      break;
    default:
      UnmakeCastling(pos, move, side, record);
      break;
  }
}

}  // namespace

void UnmakeMove(Position& pos, Move move, UndoRecord& record) {
  RejectNotAMove(move);
  pos.SideToMove ^= 1;
  int side = static_cast<int>(pos.SideToMove);
  pos.OccupiedByFile = record.savedByFile;
  pos.OccupiedDiagUp = record.savedDiagUp;
  pos.OccupiedDiagDown = record.savedDiagDown;
  pos.Occupied = record.savedOccupied;
  pos.ColourBB[side] = record.savedOwnPieces;
  pos.EnPassantSquare = record.savedEnPassant;
  pos.HashKey = record.savedHashKey;
  pos.PawnHashKey = record.savedPawnHashKey;
  if (MoveKind(move) == KIND_QUIET) {
    int from = MoveFrom(move), to = MoveTo(move);
    pos.CastleRights = record.savedCastleRights;
    UnmovePiece(pos, from, to, side, record);
    pos.Board[to] = EMPTY;
  } else {
    UnmakeOtherMove(pos, move, side, record);
  }
  --pos.HistoryTop;
}
