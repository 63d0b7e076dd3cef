#include "board/check.h"

#include "board/attacks.h"

namespace {

// What one colour looks for around its king: the enemy's pieces and the squares
// from which an enemy pawn would attack it (those its own pawn would attack).
template <int Colour>
struct KingWatch {
  static constexpr int ENEMY = Colour ^ 1;
  static constexpr int HOME = Colour == WHITE ? E1 : E8;
  static constexpr int SHORT_CASTLE_KIND =
      Colour == WHITE ? KIND_WHITE_SHORT_CASTLE : KIND_BLACK_SHORT_CASTLE;
  // Where the enemy king may not stand for each castling: next to the path.
  static constexpr u64 SHORT_BLOCK =
      Colour == WHITE ? SquareBit(E1) | SquareBit(F1) | SquareBit(G1) | SquareBit(H1) |
                            SquareBit(E2) | SquareBit(F2) | SquareBit(G2) | SquareBit(H2)
                      : SquareBit(E8) | SquareBit(F8) | SquareBit(G8) | SquareBit(H8) |
                            SquareBit(E7) | SquareBit(F7) | SquareBit(G7) | SquareBit(H7);
  static constexpr u64 LONG_BLOCK =
      Colour == WHITE ? SquareBit(B1) | SquareBit(C1) | SquareBit(D1) | SquareBit(B2) |
                            SquareBit(C2) | SquareBit(D2)
                      : SquareBit(B8) | SquareBit(C8) | SquareBit(D8) | SquareBit(B7) |
                            SquareBit(C7) | SquareBit(D7);

  static const u64* OwnPawnAttacks() { return Colour == WHITE ? WhitePawnAttacks : BlackPawnAttacks; }
  static u64 EnemyPawns(Position& pos) { return pos.PieceBB[PieceCode(PAWN, ENEMY)]; }
  static u64 EnemyKnights(Position& pos) { return pos.PieceBB[PieceCode(KNIGHT, ENEMY)]; }
  static u64 EnemyStraight(Position& pos) {
    return pos.PieceBB[PieceCode(ROOK, ENEMY)] | pos.PieceBB[PieceCode(QUEEN, ENEMY)];
  }
  static u64 EnemyDiagonal(Position& pos) {
    return pos.PieceBB[PieceCode(BISHOP, ENEMY)] | pos.PieceBB[PieceCode(QUEEN, ENEMY)];
  }
};

// True when an enemy knight, pawn or slider of Colour's enemy attacks square.
template <int Colour>
bool AttackedByEnemy(Position& pos, int square) {
  using Watch = KingWatch<Colour>;
  if (KnightAttacks[square] & Watch::EnemyKnights(pos)) return true;
  if (Watch::OwnPawnAttacks()[square] & Watch::EnemyPawns(pos)) return true;
  u64 straight = Watch::EnemyStraight(pos), diagonal = Watch::EnemyDiagonal(pos);
  if (((straight | diagonal) & QueenRays[square]) == 0) return false;
  if ((straight & RookRays[square]) && (RookLines(pos, square) & straight)) return true;
  return (diagonal & BishopRays[square]) && (BishopLines(pos, square) & diagonal);
}

template <int Colour>
bool CastlePathAttacked(Position& pos, Move move) {
  using Watch = KingWatch<Colour>;
  bool shortSide = MoveKind(move) == Watch::SHORT_CASTLE_KIND;
  int passed = shortSide ? Watch::HOME + 1 : Watch::HOME - 1;
  u64 block = shortSide ? Watch::SHORT_BLOCK : Watch::LONG_BLOCK;
  return AttackedByEnemy<Colour>(pos, Watch::HOME) || AttackedByEnemy<Colour>(pos, passed) ||
         (SquareMask[pos.KingSquare[Watch::ENEMY]] & block) != 0;
}

template <int Colour>
bool KingLeftInCheckOf(Position& pos, Move move) {
  if (AttackedByEnemy<Colour>(pos, pos.KingSquare[Colour])) return true;
  return IsCastling(move) && CastlePathAttacked<Colour>(pos, move);
}

template <int Colour>
void FindCheckersOf(Position& pos, UndoRecord& record) {
  using Watch = KingWatch<Colour>;
  int king = pos.KingSquare[Colour];
  u64 straight = Watch::EnemyStraight(pos), diagonal = Watch::EnemyDiagonal(pos);
  record.checkers = 0;
  if ((straight | diagonal) & QueenRays[king]) {
    if (straight & RookRays[king]) {
      record.kingRookRay = RookLines(pos, king);
      record.checkers = straight & record.kingRookRay;
    }
    if (diagonal & BishopRays[king]) {
      if (record.checkers == 0) record.kingRookRay = 0;
      record.kingBishopRay = BishopLines(pos, king);
      record.checkers |= diagonal & record.kingBishopRay;
    }
  }
  record.checkers |= KnightAttacks[king] & Watch::EnemyKnights(pos);
  record.checkers |= Watch::OwnPawnAttacks()[king] & Watch::EnemyPawns(pos);
}

}  // namespace

// A branch on the colour rather than a table of the two functions: the
// compiler can then inline them into the move loops.
bool KingLeftInCheck(Position& pos, Move move, int mover) {
  return mover == WHITE ? KingLeftInCheckOf<WHITE>(pos, move) : KingLeftInCheckOf<BLACK>(pos, move);
}

void FindCheckers(Position& pos, UndoRecord& record) {
  if (pos.SideToMove == WHITE) {
    FindCheckersOf<WHITE>(pos, record);
  } else {
    FindCheckersOf<BLACK>(pos, record);
  }
}

bool WhiteCastlePathAttacked(Position& pos, Move move) { return CastlePathAttacked<WHITE>(pos, move); }
bool BlackCastlePathAttacked(Position& pos, Move move) { return CastlePathAttacked<BLACK>(pos, move); }

bool KingsTouch(Position& pos) { return (KingAttacks[pos.KingSquare[WHITE]] & SquareMask[pos.KingSquare[BLACK]]) != 0; }
