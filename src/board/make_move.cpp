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
inline void ToggleRight(u16 right) {
  if (CastleRights & right) {
    CastleRights &= static_cast<u16>(~right);
    HashKey ^= CastleKey(right);
  }
}

inline void SetRotated(int square) {
  OccupiedByFile |= SquareMaskByFile[square];
  OccupiedDiagUp |= SquareMaskDiagUp[square];
  OccupiedDiagDown |= SquareMaskDiagDown[square];
}

inline void ClearRotated(int square) {
  OccupiedByFile &= ~SquareMaskByFile[square];
  OccupiedDiagUp &= ~SquareMaskDiagUp[square];
  OccupiedDiagDown &= ~SquareMaskDiagDown[square];
}

// A piece leaves one square for an empty one: the rotated sets.
inline void MoveRotated(int from, int to) {
  OccupiedByFile ^= SquareMaskByFile[from] | SquareMaskByFile[to];
  OccupiedDiagUp ^= SquareMaskDiagUp[from] | SquareMaskDiagUp[to];
  OccupiedDiagDown ^= SquareMaskDiagDown[from] | SquareMaskDiagDown[to];
}

inline void FlipRotated(int square) {
  OccupiedByFile ^= SquareMaskByFile[square];
  OccupiedDiagUp ^= SquareMaskDiagUp[square];
  OccupiedDiagDown ^= SquareMaskDiagDown[square];
}

// Removes the enemy piece on the to-square of a capture (not the rotated sets:
// the square stays occupied by the capturer).
void RemoveCaptured(int to, int opp, UndoRecord& record) {
  int captured = Board[to];
  record.captured = static_cast<u8>(captured);
  record.materialDelta = static_cast<i8>(-PieceValue[captured]);
  TotalMaterial = static_cast<u8>(TotalMaterial + record.materialDelta);
  PieceBB[captured] ^= SquareMask[to];
  if (captured > BLACK_PAWN) {
    PieceMaterial[opp] = static_cast<u8>(PieceMaterial[opp] + record.materialDelta);
  } else {
    --PawnCount[opp];
  }
  ColourBB[opp] ^= SquareMask[to];
  HashKey ^= Z(captured, to);
  if (captured <= BLACK_PAWN) PawnHashKey ^= Low(Z(captured, to));
  ToggleRight(CornerRight(to));
}

// Kinds 0 and 1 once the to-square is clear of the enemy and the occupancy
// sets are up to date. Inlined into both callers: the call alone costs the
// quiet moves dearly.
[[gnu::always_inline]] inline void MovePiece(int from, int to, int side, HistoryEntry* entry,
                                             UndoRecord& record) {
  int piece = Board[from];
  u64 mask = SquareMask[from] | SquareMask[to];
  if (piece <= BLACK_PAWN) {
    entry->fifty = 0;
    record.savedMoverBB = PieceBB[piece];
    PieceBB[piece] ^= mask;
    if (from - to == DoubleStep[side]) {
      int skipped = (from + to) / 2;
      EnPassantSquare = static_cast<u8>(skipped);
      HashKey ^= Z(EN_PASSANT_KEY_ROW, skipped);
      PawnHashKey ^= Low(Z(EN_PASSANT_KEY_ROW, skipped));
    }
    HashKey ^= Z(piece, from) ^ Z(piece, to);
    PawnHashKey ^= Low(Z(piece, from)) ^ Low(Z(piece, to));
  } else if (piece < WHITE_KING) {
    record.savedMoverBB = PieceBB[piece];
    PieceBB[piece] ^= mask;
    HashKey ^= Z(piece, from) ^ Z(piece, to);
    if (piece >= WHITE_ROOK && piece <= BLACK_ROOK) {
      ToggleRight(CornerRight(from) & CastleRightsOf[piece & 1]);
    }
  } else {
    KingSquare[side] = static_cast<u8>(to);
    HashKey ^= Z(piece, from) ^ Z(piece, to);
    ToggleRight(side == WHITE ? CASTLE_WHITE_SHORT : CASTLE_BLACK_SHORT);
    ToggleRight(side == WHITE ? CASTLE_WHITE_LONG : CASTLE_BLACK_LONG);
  }
  Board[to] = static_cast<u8>(piece);
  Board[from] = EMPTY;
  ColourBB[side] ^= mask;
}

void MakeEnPassant(int from, int to, int side, HistoryEntry* entry, UndoRecord& record) {
  int opp = side ^ 1;
  int victim = to + EpVictimOffset[side];
  int pawn = Board[from];
  record.savedMoverBB = PieceBB[pawn];
  int captured = Board[victim];
  record.captured = static_cast<u8>(captured);
  Board[to] = static_cast<u8>(pawn);
  Board[from] = EMPTY;
  Board[victim] = EMPTY;
  --PawnCount[opp];
  --TotalMaterial;
  HashKey ^= Z(captured, victim) ^ Z(pawn, from) ^ Z(pawn, to);
  PawnHashKey ^= Low(Z(captured, victim)) ^ Low(Z(pawn, from)) ^ Low(Z(pawn, to));
  ColourBB[opp] ^= SquareMask[victim];
  PieceBB[captured] ^= SquareMask[victim];
  PieceBB[pawn] ^= SquareMask[from] | SquareMask[to];
  ColourBB[side] ^= SquareMask[from] | SquareMask[to];
  Occupied = ColourBB[BLACK] | ColourBB[WHITE];
  OccupiedByFile ^= SquareMaskByFile[from] ^ EpToggleByFile[to];
  OccupiedDiagUp ^= SquareMaskDiagUp[from] ^ EpToggleDiagUp[to];
  OccupiedDiagDown ^= SquareMaskDiagDown[from] ^ EpToggleDiagDown[to];
  entry->fifty = 0;
}

// Kinds 4..11 once the material is counted and the to-square is clear of the enemy.
void Promote(int from, int to, int kind, int side, HistoryEntry* entry, UndoRecord& record) {
  ClearRotated(from);
  int pawn = PieceCode(PAWN, side);
  int promoted = PieceCode(PromotedKind[(kind - KIND_PROMOTE_QUEEN) % PROMOTION_KINDS], side);
  record.savedMoverBB = PieceBB[pawn];
  Board[from] = EMPTY;
  Board[to] = static_cast<u8>(promoted);
  --PawnCount[side];
  PawnHashKey ^= Low(Z(pawn, from));
  HashKey ^= Z(promoted, to) ^ Z(pawn, from);
  PieceBB[promoted] |= SquareMask[to];
  PieceBB[pawn] ^= SquareMask[from];
  ColourBB[side] ^= SquareMask[from] | SquareMask[to];
  Occupied = ColourBB[BLACK] | ColourBB[WHITE];
  entry->fifty = 0;
}

int PromotedValue(int kind, int side) {
  return PieceValue[PieceCode(PromotedKind[(kind - KIND_PROMOTE_QUEEN) % PROMOTION_KINDS], side)];
}

void MakePromotion(int from, int to, int kind, int side, HistoryEntry* entry, UndoRecord& record) {
  record.materialDelta = static_cast<i8>(PromotedValue(kind, side) - PieceValue[WHITE_PAWN]);
  TotalMaterial = static_cast<u8>(TotalMaterial + record.materialDelta);
  SetRotated(to);
  PieceMaterial[side] = static_cast<u8>(PieceMaterial[side] + record.materialDelta + 1);
  Promote(from, to, kind, side, entry, record);
}

void MakeCapturePromotion(int from, int to, int kind, int side, HistoryEntry* entry,
                          UndoRecord& record) {
  int opp = side ^ 1;
  int delta = PromotedValue(kind, side) - PieceValue[WHITE_PAWN];
  int captured = Board[to];
  record.captured = static_cast<u8>(captured);
  ToggleRight(CornerRight(to));
  PieceMaterial[side] = static_cast<u8>(PieceMaterial[side] + delta + 1);
  PieceMaterial[opp] = static_cast<u8>(PieceMaterial[opp] - PieceValue[captured]);
  delta -= PieceValue[captured];
  record.materialDelta = static_cast<i8>(delta);
  TotalMaterial = static_cast<u8>(TotalMaterial + delta);
  PieceBB[captured] ^= SquareMask[to];
  ColourBB[opp] ^= SquareMask[to];
  HashKey ^= Z(captured, to);
  Promote(from, to, kind, side, entry, record);
}

// The right used is cleared without its key; the side's other right is toggled
// as any lost right is.
void MakeCastling(Move move, int side, HistoryEntry* entry) {
  const CastlingMove& castling = CastlingOf(move);
  ToggleRight(castling.otherRight);
  CastleRights &= static_cast<u16>(~castling.right);
  int king = PieceCode(KING, side), rook = PieceCode(ROOK, side);
  KingSquare[side] = static_cast<u8>(castling.kingTo);
  Board[castling.kingFrom] = EMPTY;
  Board[castling.rookFrom] = EMPTY;
  Board[castling.kingTo] = static_cast<u8>(king);
  Board[castling.rookTo] = static_cast<u8>(rook);
  HashKey ^= Z(king, castling.kingFrom) ^ Z(king, castling.kingTo) ^ Z(rook, castling.rookFrom) ^
             Z(rook, castling.rookTo);
  PieceBB[rook] ^= SquareMask[castling.rookFrom] | SquareMask[castling.rookTo];
  u64 squares = SquareMask[castling.kingFrom] | SquareMask[castling.kingTo] |
                SquareMask[castling.rookFrom] | SquareMask[castling.rookTo];
  ColourBB[side] ^= squares;
  Occupied ^= squares;
  for (int square : {castling.kingFrom, castling.kingTo, castling.rookFrom, castling.rookTo}) {
    FlipRotated(square);
  }
  entry->fifty = 0;
}

// Everything a move does before its kind matters: the en-passant square goes
// and the history grows by the entry that is returned.
inline HistoryEntry* BeginMove(Move move) {
  ClearEnPassantSquare();
  HistoryEntry* previous = HistoryTop;
  previous->move = move;
  return ++HistoryTop;
}

inline void EndMove(HistoryEntry* entry) {
  SideToMove ^= 1;
  entry->key = HashKey;
}

// Kinds 1, 2 and 4 to 15, out of the quiet moves' way.
[[gnu::noinline]] void MakeOtherMove(Move move, UndoRecord& record) {
  HistoryEntry* entry = BeginMove(move);
  int side = static_cast<int>(SideToMove);
  int from = MoveFrom(move), to = MoveTo(move), kind = MoveKind(move);
  switch (kind) {
    case KIND_CAPTURE:
      RemoveCaptured(to, side ^ 1, record);
      entry->fifty = 0;
      ClearRotated(from);
      Occupied ^= SquareMask[from];
      MovePiece(from, to, side, entry, record);
      break;
    case KIND_EN_PASSANT:
      MakeEnPassant(from, to, side, entry, record);
      break;
    case KIND_PROMOTE_QUEEN:
    case KIND_PROMOTE_KNIGHT:
    case KIND_PROMOTE_ROOK:
    case KIND_PROMOTE_BISHOP:
      MakePromotion(from, to, kind, side, entry, record);
      break;
    case KIND_CAPTURE_PROMOTE_QUEEN:
    case KIND_CAPTURE_PROMOTE_KNIGHT:
    case KIND_CAPTURE_PROMOTE_ROOK:
    case KIND_CAPTURE_PROMOTE_BISHOP:
      MakeCapturePromotion(from, to, kind, side, entry, record);
      break;
    default:
      MakeCastling(move, side, entry);
      break;
  }
  EndMove(entry);
}

}  // namespace

void ThrowNotAMove(Move move) {
  throw InternalError("move code of kind 3 given to make or unmake: " + std::to_string(move));
}

void MakeMove(Move move, UndoRecord& record) {
  RejectNotAMove(move);
  if (MoveKind(move) != KIND_QUIET) {
    MakeOtherMove(move, record);
    return;
  }
  HistoryEntry* entry = BeginMove(move);
  int from = MoveFrom(move), to = MoveTo(move);
  MoveRotated(from, to);
  Occupied ^= SquareMask[from] | SquareMask[to];
  entry->fifty = static_cast<u16>((entry - 1)->fifty + 1);
  MovePiece(from, to, static_cast<int>(SideToMove), entry, record);
  EndMove(entry);
}
