#include "eval/king_safety.h"

#include <algorithm>

#include "eval/eval_side.h"

const u16 KingAttackWeight[ATTACK_WEIGHT_SIZE] = {
    0,   1,   3,   8,   10,  15,  20,  25,  30,  35,  40,  45,  50,  55,  60,  65,
    70,  75,  80,  85,  90,  95,  100, 110, 115, 117, 120, 122, 125, 127, 130, 132,
    135, 137, 140, 142, 145, 147, 150, 152, 155, 157, 160, 162, 165, 167, 170, 172,
    165, 167, 170, 172, 175, 177, 190, 192, 195, 197, 200, 200, 200, 200, 200, 200,
    200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200,
    200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200,
    200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200,
    200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200,
};

const u16 KingShelterFactor[DANGER_INDEX_SIZE] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4};

namespace {

// Shelter base: larger when the enemy still has a queen to exploit a bare king.
constexpr int SHELTER_WITH_ENEMY_QUEEN = 11;
constexpr int SHELTER_WITHOUT_ENEMY_QUEEN = 5;
constexpr int KING_SIDE_PAWN_EXTRA = 1;
constexpr int QUEEN_SIDE_PAWN_LESS = 2;

// One castled position, from white's side: where the king stands, which rooks
// there mean the king has not castled, the pawns of the first shelter row,
// and the squares where one pawn of the second row also counts (half as much).
struct ShelterWing {
  u64 king, rooks, firstRow, secondRow;
  int bonusOffset;
};
constexpr ShelterWing KING_SIDE{SquaresOf({F1, G1, H1}), SquaresOf({G1, H1}),
                                SquaresOf({F2, G2, H2}), SquaresOf({G3, H3}), KING_SIDE_PAWN_EXTRA};
constexpr ShelterWing QUEEN_SIDE{SquaresOf({A1, B1, C1}), SquaresOf({A1, B1}),
                                 SquaresOf({A2, B2, C2}), SquaresOf({A3, B3}), -QUEEN_SIDE_PAWN_LESS};

// The king stands on the wing.
template <int C>
int WingShelter(Position& pos, const ShelterWing& wing) {
  if (pos.PieceBB[PieceCode(ROOK, C)] & FromWhiteSide<C>(wing.rooks)) return 0;
  int perPawn = HasQueen<EvalSide<C>::ENEMY>(pos) ? SHELTER_WITH_ENEMY_QUEEN : SHELTER_WITHOUT_ENEMY_QUEEN;
  int bonus = perPawn + wing.bonusOffset;
  u64 pawns = OwnPawns<C>(pos);
  int shelter = bonus * PopCount(pawns & FromWhiteSide<C>(wing.firstRow));
  if (pawns & FromWhiteSide<C>(wing.secondRow)) shelter += bonus >> 1;
  return shelter;
}

// Each test reads the index as the tests before it left it: an index already
// at 4 or more grows faster.
constexpr int HIGH_DANGER = 4;

int AddIfOpen(int danger, u64 file, u64 pawns, int low, int high) {
  if (file & pawns) return danger;
  return danger + (danger < HIGH_DANGER ? low : high);
}

}  // namespace

template <int C>
int KingShelter(Position& pos) {
  const u64 king = SquareMask[pos.KingSquare[C]];
  if (king & FromWhiteSide<C>(KING_SIDE.king)) return WingShelter<C>(pos, KING_SIDE);
  if (king & FromWhiteSide<C>(QUEEN_SIDE.king)) return WingShelter<C>(pos, QUEEN_SIDE);
  return 0;
}

template <int C>
int DangerIndex(Position& pos) {
  const int king = pos.KingSquare[C];
  const u64 own = OwnPawns<C>(pos), enemy = EnemyPawns<C>(pos);
  int danger = 0;
  if (!(FileOthers[king] & own)) danger = 2;
  if (!(FileOthers[king] & enemy)) danger += danger ? 2 : 1;
  if (FileOf(king) != 7) {
    danger = AddIfOpen(danger, FileOthers[king + 1], own, 2, 3);
    danger = AddIfOpen(danger, FileOthers[king + 1], enemy, 1, 2);
  }
  if (FileOf(king) != 0) {
    danger = AddIfOpen(danger, FileOthers[king - 1], own, 2, 3);
    danger = AddIfOpen(danger, FileOthers[king - 1], enemy, 1, 2);
  }
  if (HasQueen<EvalSide<C>::ENEMY>(pos)) danger += 1;
  return danger;
}

template <int C>
int KingDangerPenalty(Position& pos, int dangerIndex, int attackWeight) {
  constexpr int ATTACKING_MATERIAL = 13;
  if (pos.PieceMaterial[EvalSide<C>::ENEMY] <= ATTACKING_MATERIAL) return 0;
  int weight = KingAttackWeight[std::min(attackWeight, ATTACK_WEIGHT_SIZE - 1)];
  return KingShelterFactor[dangerIndex] * weight;
}

template int KingShelter<WHITE>(Position& pos);
template int KingShelter<BLACK>(Position& pos);
template int DangerIndex<WHITE>(Position& pos);
template int DangerIndex<BLACK>(Position& pos);
template int KingDangerPenalty<WHITE>(Position& pos, int, int);
template int KingDangerPenalty<BLACK>(Position& pos, int, int);
