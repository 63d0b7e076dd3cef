#include "eval/piece_terms.h"

#include <array>

#include "eval/eval_side.h"
#include "eval/square_tables.h"

const u8 KnightTropism[KING_DISTANCE_COUNT] = {4, 5, 5, 2, 1, 0, 0, 0};
const u8 BishopTropism[KING_DISTANCE_COUNT] = {5, 5, 4, 2, 1, 0, 0, 0};
const u8 RookTropism[KING_DISTANCE_COUNT] = {6, 5, 4, 2, 1, 0, 0, 0};
const u8 QueenTropism[KING_DISTANCE_COUNT] = {9, 9, 8, 4, 2, 1, 0, 0};

namespace {

// Material in centipawns, by piece kind.
constexpr int PIECE_SCORE[] = {0, 100, 320, 325, 500, 950, 0};
constexpr const u8* TROPISM[] = {nullptr, nullptr, KnightTropism, BishopTropism, RookTropism, QueenTropism};

// The king distance of every pair of squares: a lookup for every piece of
// every evaluation.
using DistanceRow = std::array<u8, SQUARE_COUNT>;
constexpr std::array<DistanceRow, SQUARE_COUNT> KING_DISTANCES = [] {
  std::array<DistanceRow, SQUARE_COUNT> table{};
  for (int a = 0; a < SQUARE_COUNT; ++a) {
    for (int b = 0; b < SQUARE_COUNT; ++b) table[a][b] = static_cast<u8>(KingDistance(a, b));
  }
  return table;
}();

// Knights gain in closed positions, bishops in open ones.
constexpr int KNIGHT_PAWN_BASE = 6;
constexpr int BISHOP_MOBILITY_WEIGHT = 5, BISHOP_BASE = 24;
constexpr int ROOK_MOBILITY_WEIGHT = 2, ROOK_BASE = 14;
constexpr int QUEEN_BASE = 13;

constexpr int ROOK_BEHIND_PASSED_PAWN = 20;
constexpr int ROOK_WITHOUT_OWN_PAWN = 8;
constexpr int ROOK_ON_OPEN_FILE = 12;  // more, when no enemy pawn is on the file either

constexpr int TRAPPED_BISHOP_PENALTY = 220;
constexpr int BISHOP_PAIR_BONUS = 40;
constexpr int ROOK_ON_SEVENTH = 18;
constexpr int SECOND_ROOK_ON_SEVENTH = 18;
constexpr int ROOKS_ON_SEVENTH_KING_ON_EIGHTH = 48;
constexpr int ROOKS_ON_SEVENTH_KING_ON_SEVENTH = 18;

constexpr u64 RANK_7 = SquaresOf({A7, B7, C7, D7, E7, F7, G7, H7});
constexpr u64 LIGHT_SQUARES = 0xAA55AA55AA55AA55;  // a8 and h1 are light

// A bishop that took a pawn deep in the enemy corner and is shut in by the
// pawn beside it; from white's side. At most one penalty.
struct TrappedBishop {
  u64 bishop, pawn;
};
constexpr TrappedBishop TRAPPED_BISHOPS[] = {
    {SquaresOf({A7}), SquaresOf({B6})},
    {SquaresOf({B8}), SquaresOf({C7})},
    {SquaresOf({G8}), SquaresOf({F7})},
    {SquaresOf({H7}), SquaresOf({G6})},
};
// Where any of them stands: most evaluations look no further.
constexpr u64 TRAP_SQUARES = [] {
  u64 squares = 0;
  for (const TrappedBishop& trap : TRAPPED_BISHOPS) squares |= trap.bishop;
  return squares;
}();

template <int KIND>
u64 AttacksFrom(Position& pos, int square) {
  if constexpr (KIND == KNIGHT) return KnightAttacks[square];
  if constexpr (KIND == BISHOP) return BishopLines(pos, square);
  if constexpr (KIND == ROOK) return RookLines(pos, square);
  if constexpr (KIND == QUEEN) return QueenLines(pos, square);
}

// What a piece of the kind gains beyond its material and square, by its
// mobility (attacked squares not held by its own pieces).
template <int C, int KIND>
int KindTerm(Position& pos, int square, u64 attacks, int pawns) {
  int mobility = PopCount(attacks & ~pos.ColourBB[C]);
  if constexpr (KIND == KNIGHT) return pawns - KNIGHT_PAWN_BASE;
  if constexpr (KIND == BISHOP) return BISHOP_MOBILITY_WEIGHT * mobility - pawns - BISHOP_BASE;
  if constexpr (KIND == ROOK) {
    return ROOK_MOBILITY_WEIGHT * mobility - ROOK_BASE + RookFileBonus<C>(pos, square);
  }
  if constexpr (KIND == QUEEN) return mobility - QUEEN_BASE;
}

template <int C, int KIND>
void AddPieces(Position& pos, PieceTally& tally, int pawns) {
  const i16* table = SquareTableOf(pos, KIND);
  const int enemyKing = pos.KingSquare[EvalSide<C>::ENEMY];
  const DistanceRow& distanceToKing = KING_DISTANCES[enemyKing];
  const u64 enemyKingZone = KingAttacks[enemyKing];
  for (u64 set = pos.PieceBB[PieceCode(KIND, C)]; set;) {
    int square = PopLowestSquare(set);
    u64 attacks = AttacksFrom<KIND>(pos, square);
    tally.score +=
        PIECE_SCORE[KIND] + table[EvalSide<C>::OwnView(square)] + KindTerm<C, KIND>(pos, square, attacks, pawns);
    tally.kingAttack += TROPISM[KIND][distanceToKing[square]];
    if (attacks & enemyKingZone) tally.kingAttack += 1;
  }
}

}  // namespace

template <int C>
int RookFileBonus(Position& pos, int square) {
  u64 ownPawns = FileOthers[square] & OwnPawns<C>(pos);
  if (ownPawns) {
    int pawn = LowestSquare(ownPawns);
    bool passed = !(EvalSide<C>::PassedSpan[pawn] & EnemyPawns<C>(pos));
    return passed && EvalSide<C>::Behind(square, pawn) ? ROOK_BEHIND_PASSED_PAWN : 0;
  }
  int bonus = ROOK_WITHOUT_OWN_PAWN;
  if (!(FileOthers[square] & EnemyPawns<C>(pos))) bonus += ROOK_ON_OPEN_FILE;
  return bonus;
}

template <int C>
int TrappedBishopPenalty(Position& pos) {
  const u64 bishops = pos.PieceBB[PieceCode(BISHOP, C)];
  if (!(bishops & FromWhiteSide<C>(TRAP_SQUARES))) return 0;
  for (const TrappedBishop& trap : TRAPPED_BISHOPS) {
    if ((bishops & FromWhiteSide<C>(trap.bishop)) && (EnemyPawns<C>(pos) & FromWhiteSide<C>(trap.pawn))) {
      return TRAPPED_BISHOP_PENALTY;
    }
  }
  return 0;
}

template <int C>
int BishopPairBonus(Position& pos) {
  const u64 bishops = pos.PieceBB[PieceCode(BISHOP, C)];
  const bool pair = (bishops & LIGHT_SQUARES) && (bishops & ~LIGHT_SQUARES);
  // A product rather than a choice: as a choice, the compiler works out every
  // combination with the other end-of-pieces bonuses in advance.
  return BISHOP_PAIR_BONUS * pair;
}

template <int C>
int RooksOnSeventhBonus(Position& pos) {
  const u64 rooksOnSeventh = pos.PieceBB[PieceCode(ROOK, C)] & FromWhiteSide<C>(RANK_7);
  if (!rooksOnSeventh) return 0;
  if (PopCount(rooksOnSeventh) == 1) return ROOK_ON_SEVENTH;
  int bonus = ROOK_ON_SEVENTH + SECOND_ROOK_ON_SEVENTH;
  int enemyKingRow = OwnRow<C>(pos.KingSquare[EvalSide<C>::ENEMY]);
  if (enemyKingRow == 0) bonus += ROOKS_ON_SEVENTH_KING_ON_EIGHTH;
  if (enemyKingRow == 1) bonus += ROOKS_ON_SEVENTH_KING_ON_SEVENTH;
  return bonus;
}

template <int C>
PieceTally PieceTerms(Position& pos, int pawns) {
  PieceTally tally{0, 0};
  AddPieces<C, KNIGHT>(pos, tally, pawns);
  AddPieces<C, BISHOP>(pos, tally, pawns);
  AddPieces<C, ROOK>(pos, tally, pawns);
  AddPieces<C, QUEEN>(pos, tally, pawns);
  tally.score += BishopPairBonus<C>(pos) + RooksOnSeventhBonus<C>(pos) - TrappedBishopPenalty<C>(pos);
  return tally;
}

template PieceTally PieceTerms<WHITE>(Position& pos, int);
template PieceTally PieceTerms<BLACK>(Position& pos, int);
template int RookFileBonus<WHITE>(Position& pos, int);
template int RookFileBonus<BLACK>(Position& pos, int);
template int TrappedBishopPenalty<WHITE>(Position& pos);
template int TrappedBishopPenalty<BLACK>(Position& pos);
template int BishopPairBonus<WHITE>(Position& pos);
template int BishopPairBonus<BLACK>(Position& pos);
template int RooksOnSeventhBonus<WHITE>(Position& pos);
template int RooksOnSeventhBonus<BLACK>(Position& pos);
