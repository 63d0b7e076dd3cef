#include "board/make_move.h"

#include <string>

#include "board/bitboard.h"
#include "board/castling.h"
#include "board/zobrist.h"

namespace {

// from - to of a pawn's double step: white pawns move towards square 0.
constexpr int DoubleStep[2] = {-16, +16};

// The promoted piece of kinds 4..7 and 8..11, in the order queen, knight, rook, bishop.
constexpr int PromotedKind[4] = {QUEEN, KNIGHT, ROOK, BISHOP};
constexpr int PROMOTION_KINDS = 4;

constexpr u32 Low(u64 key) { return static_cast<u32>(key); }
inline u64 Z(int code, int square) { return ZobristKeys[code][square]; }

// The right lost when a rook leaves, or anything is captured on, a corner.
constexpr u16 CornerRight(int square) {
  return square == A8   ? CASTLE_BLACK_LONG
         : square == H8 ? CASTLE_BLACK_SHORT
         : square == A1 ? CASTLE_WHITE_LONG
         : square == H1 ? CASTLE_WHITE_SHORT
                        : 0;
}

// Clears a right that is held, and takes its key into HashKey.
inline void ToggleRight(Position& pos, u16 right) {
  if (pos.CastleRights & right) {
    pos.CastleRights &= static_cast<u16>(~right);
    pos.HashKey ^= CastleKey(right);
  }
}

inline void SetRotated(Position& pos, int square) {
  pos.OccupiedByFile |= SquareMaskByFile[square];
  pos.OccupiedDiagUp |= SquareMaskDiagUp[square];
  pos.OccupiedDiagDown |= SquareMaskDiagDown[square];
}

inline void ClearRotated(Position& pos, int square) {
  pos.OccupiedByFile &= ~SquareMaskByFile[square];
  pos.OccupiedDiagUp &= ~SquareMaskDiagUp[square];
  pos.OccupiedDiagDown &= ~SquareMaskDiagDown[square];
}

// A piece leaves one square for an empty one: the rotated sets.
inline void MoveRotated(Position& pos, int from, int to) {
  pos.OccupiedByFile ^= SquareMaskByFile[from] | SquareMaskByFile[to];
  pos.OccupiedDiagUp ^= SquareMaskDiagUp[from] | SquareMaskDiagUp[to];
  pos.OccupiedDiagDown ^= SquareMaskDiagDown[from] | SquareMaskDiagDown[to];
}

inline void FlipRotated(Position& pos, int square) {
  pos.OccupiedByFile ^= SquareMaskByFile[square];
  pos.OccupiedDiagUp ^= SquareMaskDiagUp[square];
  pos.OccupiedDiagDown ^= SquareMaskDiagDown[square];
}

// Removes the enemy piece on the to-square of a capture (not the rotated sets:
// the square stays occupied by the capturer).
void RemoveCaptured(Position& pos, int to, int opp, UndoRecord& record) {
  int captured = pos.Board[to];
  record.captured = static_cast<u8>(captured);
  record.materialDelta = static_cast<i8>(-PieceValue[captured]);
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial + record.materialDelta);
  pos.PieceBB[captured] ^= SquareMask[to];
  if (captured > BLACK_PAWN) {
    pos.PieceMaterial[opp] = static_cast<u8>(pos.PieceMaterial[opp] + record.materialDelta);
  } else {
    --pos.PawnCount[opp];
  }
  pos.ColourBB[opp] ^= SquareMask[to];
  pos.HashKey ^= Z(captured, to);
  if (captured <= BLACK_PAWN) pos.PawnHashKey ^= Low(Z(captured, to));
  ToggleRight(pos, CornerRight(to));
}

// Kinds 0 and 1 once the to-square is clear of the enemy and the occupancy
// sets are up to date. Inlined into both callers: the call alone costs the
// quiet moves dearly.
[[gnu::always_inline]] inline void MovePiece(Position& pos, int from, int to, int side, HistoryEntry* entry,
                                             UndoRecord& record) {
  int piece = pos.Board[from];
  u64 mask = SquareMask[from] | SquareMask[to];
  if (piece <= BLACK_PAWN) {
    entry->fifty = 0;
    record.savedMoverBB = pos.PieceBB[piece];
    pos.PieceBB[piece] ^= mask;
    if (from - to == DoubleStep[side]) {
      int skipped = (from + to) / 2;
      pos.EnPassantSquare = static_cast<u8>(skipped);
      pos.HashKey ^= Z(EN_PASSANT_KEY_ROW, skipped);
      pos.PawnHashKey ^= Low(Z(EN_PASSANT_KEY_ROW, skipped));
    }
    pos.HashKey ^= Z(piece, from) ^ Z(piece, to);
    pos.PawnHashKey ^= Low(Z(piece, from)) ^ Low(Z(piece, to));
  } else if (piece < WHITE_KING) {
    record.savedMoverBB = pos.PieceBB[piece];
    pos.PieceBB[piece] ^= mask;
    pos.HashKey ^= Z(piece, from) ^ Z(piece, to);
    if (piece >= WHITE_ROOK && piece <= BLACK_ROOK) {
      ToggleRight(pos, CornerRight(from) & CastleRightsOf[piece & 1]);
    }
  } else {
    pos.KingSquare[side] = static_cast<u8>(to);
    pos.HashKey ^= Z(piece, from) ^ Z(piece, to);
    ToggleRight(pos, side == WHITE ? CASTLE_WHITE_SHORT : CASTLE_BLACK_SHORT);
    ToggleRight(pos, side == WHITE ? CASTLE_WHITE_LONG : CASTLE_BLACK_LONG);
  }
  pos.Board[to] = static_cast<u8>(piece);
  pos.Board[from] = EMPTY;
  pos.ColourBB[side] ^= mask;
}

void MakeEnPassant(Position& pos, int from, int to, int side, HistoryEntry* entry, UndoRecord& record) {
  int opp = side ^ 1;
  int victim = to + EpVictimOffset[side];
  int pawn = pos.Board[from];
  record.savedMoverBB = pos.PieceBB[pawn];
  int captured = pos.Board[victim];
  record.captured = static_cast<u8>(captured);
  pos.Board[to] = static_cast<u8>(pawn);
  pos.Board[from] = EMPTY;
  pos.Board[victim] = EMPTY;
  --pos.PawnCount[opp];
  --pos.TotalMaterial;
  pos.HashKey ^= Z(captured, victim) ^ Z(pawn, from) ^ Z(pawn, to);
  pos.PawnHashKey ^= Low(Z(captured, victim)) ^ Low(Z(pawn, from)) ^ Low(Z(pawn, to));
  pos.ColourBB[opp] ^= SquareMask[victim];
  pos.PieceBB[captured] ^= SquareMask[victim];
  pos.PieceBB[pawn] ^= SquareMask[from] | SquareMask[to];
  pos.ColourBB[side] ^= SquareMask[from] | SquareMask[to];
  pos.Occupied = pos.ColourBB[BLACK] | pos.ColourBB[WHITE];
  pos.OccupiedByFile ^= SquareMaskByFile[from] ^ EpToggleByFile[to];
  pos.OccupiedDiagUp ^= SquareMaskDiagUp[from] ^ EpToggleDiagUp[to];
  pos.OccupiedDiagDown ^= SquareMaskDiagDown[from] ^ EpToggleDiagDown[to];
  entry->fifty = 0;
}

// Kinds 4..11 once the material is counted and the to-square is clear of the enemy.
void Promote(Position& pos, int from, int to, int kind, int side, HistoryEntry* entry, UndoRecord& record) {
  ClearRotated(pos, from);
  int pawn = PieceCode(PAWN, side);
  int promoted = PieceCode(PromotedKind[(kind - KIND_PROMOTE_QUEEN) % PROMOTION_KINDS], side);
  record.savedMoverBB = pos.PieceBB[pawn];
  pos.Board[from] = EMPTY;
  pos.Board[to] = static_cast<u8>(promoted);
  --pos.PawnCount[side];
  pos.PawnHashKey ^= Low(Z(pawn, from));
  pos.HashKey ^= Z(promoted, to) ^ Z(pawn, from);
  pos.PieceBB[promoted] |= SquareMask[to];
  pos.PieceBB[pawn] ^= SquareMask[from];
  pos.ColourBB[side] ^= SquareMask[from] | SquareMask[to];
  pos.Occupied = pos.ColourBB[BLACK] | pos.ColourBB[WHITE];
  entry->fifty = 0;
}

int PromotedValue(int kind, int side) {
  return PieceValue[PieceCode(PromotedKind[(kind - KIND_PROMOTE_QUEEN) % PROMOTION_KINDS], side)];
}

void MakePromotion(Position& pos, int from, int to, int kind, int side, HistoryEntry* entry, UndoRecord& record) {
  record.materialDelta = static_cast<i8>(PromotedValue(kind, side) - PieceValue[WHITE_PAWN]);
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial + record.materialDelta);
  SetRotated(pos, to);
  pos.PieceMaterial[side] = static_cast<u8>(pos.PieceMaterial[side] + record.materialDelta + 1);
  Promote(pos, from, to, kind, side, entry, record);
}

void MakeCapturePromotion(Position& pos, int from, int to, int kind, int side, HistoryEntry* entry,
                          UndoRecord& record) {
  int opp = side ^ 1;
  int delta = PromotedValue(kind, side) - PieceValue[WHITE_PAWN];
  int captured = pos.Board[to];
  record.captured = static_cast<u8>(captured);
  ToggleRight(pos, CornerRight(to));
  pos.PieceMaterial[side] = static_cast<u8>(pos.PieceMaterial[side] + delta + 1);
  pos.PieceMaterial[opp] = static_cast<u8>(pos.PieceMaterial[opp] - PieceValue[captured]);
  delta -= PieceValue[captured];
  record.materialDelta = static_cast<i8>(delta);
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial + delta);
  pos.PieceBB[captured] ^= SquareMask[to];
  pos.ColourBB[opp] ^= SquareMask[to];
  pos.HashKey ^= Z(captured, to);
  Promote(pos, from, to, kind, side, entry, record);
}

// The right used is cleared without its key; the side's other right is toggled
// as any lost right is.
void MakeCastling(Position& pos, Move move, int side, HistoryEntry* entry) {
  const CastlingMove& castling = CastlingOf(move);
  ToggleRight(pos, castling.otherRight);
  pos.CastleRights &= static_cast<u16>(~castling.right);
  int king = PieceCode(KING, side), rook = PieceCode(ROOK, side);
  pos.KingSquare[side] = static_cast<u8>(castling.kingTo);
  pos.Board[castling.kingFrom] = EMPTY;
  pos.Board[castling.rookFrom] = EMPTY;
  pos.Board[castling.kingTo] = static_cast<u8>(king);
  pos.Board[castling.rookTo] = static_cast<u8>(rook);
  pos.HashKey ^=
      Z(king, castling.kingFrom) ^ Z(king, castling.kingTo) ^ Z(rook, castling.rookFrom) ^ Z(rook, castling.rookTo);
  pos.PieceBB[rook] ^= SquareMask[castling.rookFrom] | SquareMask[castling.rookTo];
  u64 squares = SquareMask[castling.kingFrom] | SquareMask[castling.kingTo] |
                SquareMask[castling.rookFrom] | SquareMask[castling.rookTo];
  pos.ColourBB[side] ^= squares;
  pos.Occupied ^= squares;
  for (int square : {castling.kingFrom, castling.kingTo, castling.rookFrom, castling.rookTo}) {
    FlipRotated(pos, square);
  }
  entry->fifty = 0;
}

// Everything a move does before its kind matters: the en-passant square goes
// and the history grows by the entry that is returned.
inline HistoryEntry* BeginMove(Position& pos, Move move) {
  ClearEnPassantSquare(pos);
  HistoryEntry* previous = pos.HistoryTop;
  previous->move = move;
  return ++pos.HistoryTop;
}

inline void EndMove(Position& pos, HistoryEntry* entry) {
  pos.SideToMove ^= 1;
  entry->key = pos.HashKey;
}

// Kinds 1, 2 and 4 to 15, out of the quiet moves' way.
[[gnu::noinline]] void MakeOtherMove(Position& pos, Move move, UndoRecord& record) {
  HistoryEntry* entry = BeginMove(pos, move);
  int side = static_cast<int>(pos.SideToMove);
  int from = MoveFrom(move), to = MoveTo(move), kind = MoveKind(move);
  switch (kind) {
    case KIND_CAPTURE:
      RemoveCaptured(pos, to, side ^ 1, record);
      entry->fifty = 0;
      ClearRotated(pos, from);
      pos.Occupied ^= SquareMask[from];
      MovePiece(pos, from, to, side, entry, record);
      break;
    case KIND_EN_PASSANT:
      MakeEnPassant(pos, from, to, side, entry, record);
      break;
    case KIND_PROMOTE_QUEEN:
    case KIND_PROMOTE_KNIGHT:
    case KIND_PROMOTE_ROOK:
    case KIND_PROMOTE_BISHOP:
      MakePromotion(pos, from, to, kind, side, entry, record);
      break;
    case KIND_CAPTURE_PROMOTE_QUEEN:
    case KIND_CAPTURE_PROMOTE_KNIGHT:
    case KIND_CAPTURE_PROMOTE_ROOK:
    case KIND_CAPTURE_PROMOTE_BISHOP:
      MakeCapturePromotion(pos, from, to, kind, side, entry, record);
      break;
    default:
      MakeCastling(pos, move, side, entry);
      break;
  }
  EndMove(pos, entry);
}

}  // namespace

void ThrowNotAMove(Move move) {
  throw InternalError("move code of kind 3 given to make or unmake: " + std::to_string(move));
}

void MakeMove(Position& pos, Move move, UndoRecord& record) {
  RejectNotAMove(move);
  if (MoveKind(move) != KIND_QUIET) {
    MakeOtherMove(pos, move, record);
    return;
  }
  HistoryEntry* entry = BeginMove(pos, move);
  int from = MoveFrom(move), to = MoveTo(move);
  MoveRotated(pos, from, to);
  pos.Occupied ^= SquareMask[from] | SquareMask[to];
  entry->fifty = static_cast<u16>((entry - 1)->fifty + 1);
  MovePiece(pos, from, to, static_cast<int>(pos.SideToMove), entry, record);
  EndMove(pos, entry);
}
