#include "board/move_validity.h"

#include "board/attacks.h"
#include "board/castling.h"
#include "board/check.h"
#include "board/make_move.h"

namespace {

// Rows as seen by each colour: the pawns' first double-step row and their last row.
constexpr int PAWN_START_ROW[2] = {RowOf(A7), RowOf(A2)};
constexpr int LAST_ROW[2] = {RowOf(A1), RowOf(A8)};
constexpr int PawnStep[2] = {+8, -8};  // white pawns move towards square 0

bool IsOwnPiece(int code, int side) { return code != EMPTY && (code & 1) == side; }
bool IsEnemyPiece(int code, int side) { return code != EMPTY && (code & 1) != side; }

bool IsCastlingValid(Position& pos, Move move, int side) {
  const CastlingMove& castling = CastlingOf(move);
  return move == castling.move && castling.colour == side && (pos.CastleRights & castling.right) &&
         pos.KingSquare[side] == castling.kingFrom && pos.Board[castling.kingFrom] == PieceCode(KING, side) &&
         pos.Board[castling.rookFrom] == PieceCode(ROOK, side) && (pos.Occupied & castling.between) == 0;
}

bool IsPawnMoveValid(Position& pos, int from, int to, int kind, int side) {
  int target = pos.Board[to];
  bool reachesLastRow = RowOf(to) == LAST_ROW[side];
  bool attacks = ((side == WHITE ? WhitePawnAttacks : BlackPawnAttacks)[from] & SquareMask[to]) != 0;
  bool singleStep = to == from + PawnStep[side] && target == EMPTY;
  switch (kind) {
    case KIND_QUIET: {
      bool doubleStep = RowOf(from) == PAWN_START_ROW[side] && to == from + 2 * PawnStep[side] && target == EMPTY &&
                        pos.Board[from + PawnStep[side]] == EMPTY;
      return !reachesLastRow && (singleStep || doubleStep);
    }
    case KIND_CAPTURE:
      return !reachesLastRow && attacks && IsEnemyPiece(target, side);
    case KIND_EN_PASSANT:
      return attacks && pos.EnPassantSquare != 0 && to == pos.EnPassantSquare && target == EMPTY &&
             pos.Board[to + EpVictimOffset[side]] == PieceCode(PAWN, side ^ 1);
    case KIND_PROMOTE_QUEEN:
    case KIND_PROMOTE_KNIGHT:
    case KIND_PROMOTE_ROOK:
    case KIND_PROMOTE_BISHOP:
      return reachesLastRow && singleStep;
    case KIND_CAPTURE_PROMOTE_QUEEN:
    case KIND_CAPTURE_PROMOTE_KNIGHT:
    case KIND_CAPTURE_PROMOTE_ROOK:
    case KIND_CAPTURE_PROMOTE_BISHOP:
      return reachesLastRow && attacks && IsEnemyPiece(target, side);
    default:
      return false;
  }
}

// Squares a knight, bishop, rook, queen or king on from attacks now.
u64 PieceAttacks(Position& pos, int code, int from) {
  switch (code) {
    case WHITE_KNIGHT: case BLACK_KNIGHT: return KnightAttacks[from];
    case WHITE_BISHOP:
    case BLACK_BISHOP:
      return BishopLines(pos, from);
    case WHITE_ROOK:
    case BLACK_ROOK:
      return RookLines(pos, from);
    case WHITE_QUEEN:
    case BLACK_QUEEN:
      return QueenLines(pos, from);
    default: return KingAttacks[from];
  }
}

}  // namespace

bool IsMoveValid(Position& pos, Move move) {
  int side = static_cast<int>(pos.SideToMove);
  if (IsCastling(move)) return IsCastlingValid(pos, move, side);
  int from = MoveFrom(move), to = MoveTo(move), kind = MoveKind(move);
  int piece = pos.Board[from];
  if (!IsOwnPiece(piece, side)) return false;
  if (piece <= BLACK_PAWN) return IsPawnMoveValid(pos, from, to, kind, side);
  if (piece >= WHITE_KING && from != pos.KingSquare[side]) return false;
  bool reaches = (PieceAttacks(pos, piece, from) & SquareMask[to]) != 0;
  if (kind == KIND_QUIET) return reaches && pos.Board[to] == EMPTY;
  if (kind == KIND_CAPTURE) return reaches && IsEnemyPiece(pos.Board[to], side);
  return false;
}

bool IsLegalMove(Position& pos, Move move) {
  if (!IsMoveValid(pos, move)) return false;
  int mover = static_cast<int>(pos.SideToMove);
  UndoRecord record;
  SavePositionForUndo(pos, record);
  MakeMove(pos, move, record);
  bool illegal = KingsTouch(pos) || KingLeftInCheck(pos, move, mover);
  UnmakeMove(pos, move, record);
  return !illegal;
}
