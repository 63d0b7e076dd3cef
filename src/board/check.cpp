#include "board/check.h"

#include "board/attacks.h"
#include "board/enemy_attacks.h"

namespace {

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
