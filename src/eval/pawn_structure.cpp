#include "eval/pawn_structure.h"

#include <cstring>

#include "eval/eval_side.h"
#include "eval/square_tables.h"

thread_local constinit u32 PawnHashTable[PAWN_HASH_SIZE] = {};

namespace {

constexpr int PAWN_SCORE = 100;
constexpr int DOUBLED_PENALTY = 8;
constexpr int PASSED_BONUS_PER_RANK = 16;
constexpr int ISOLATED_PENALTY = 16;
constexpr int ISOLATED_ON_OPEN_FILE_PENALTY = 6;  // no enemy pawn ahead on its file
constexpr int ATTACKED_PENALTY_UNIT = 8;
constexpr int ONE_ATTACKER = 2, TWO_ATTACKERS = 3;
// Pawns on their third rank and beyond (square 16 onwards as white sees it)
// pay for being attacked; those on their second rank do not.
constexpr int FIRST_SQUARE_OF_THIRD_RANK = 16;

// Lost when enemy pawns attack the pawn, less one unit per own pawn defending it.
template <int C>
int AttackedPenalty(Position& pos, int square) {
  u64 attackers = EvalSide<C>::PawnAttacks[square] & EnemyPawns<C>(pos);
  if (!attackers) return 0;
  int attack = PopCount(attackers) == 1 ? ONE_ATTACKER : TWO_ATTACKERS;
  int defence = PopCount(EvalSide<EvalSide<C>::ENEMY>::PawnAttacks[square] & OwnPawns<C>(pos));
  return (attack - defence) * ATTACKED_PENALTY_UNIT;
}

// The pawns of one colour, positive for that colour.
template <int C>
int PawnTerms(Position& pos, const i16* pawnTable) {
  using Side = EvalSide<C>;
  const u64 own = OwnPawns<C>(pos);
  const u64 enemy = EnemyPawns<C>(pos);
  int total = 0;
  for (u64 set = own; set;) {
    int square = PopLowestSquare(set);
    total += PAWN_SCORE + pawnTable[Side::OwnView(square)];
    bool passed = !(Side::PassedSpan[square] & enemy);
    if (FileOthers[square] & own) {
      total -= DOUBLED_PENALTY;
      if (Side::FrontSpan[square] & own) passed = false;  // only the front pawn counts
    }
    if (passed) total += PASSED_BONUS_PER_RANK * (7 - OwnRow<C>(square));
    if (!(AdjacentFiles[square] & own)) {
      total -= ISOLATED_PENALTY;
      if (!(Side::FrontSpan[square] & enemy)) total -= ISOLATED_ON_OPEN_FILE_PENALTY;
    } else if (!passed && Side::OwnView(square) >= FIRST_SQUARE_OF_THIRD_RANK) {
      total -= AttackedPenalty<C>(pos, square);
    }
  }
  return total;
}

}  // namespace

void ClearPawnHashTable() { std::memset(PawnHashTable, 0, sizeof PawnHashTable); }

int PawnStructureScore(Position& pos) {
  const i16* pawnTable = SquareTableOf(pos, PAWN);
  return PawnTerms<WHITE>(pos, pawnTable) - PawnTerms<BLACK>(pos, pawnTable);
}

int CachedPawnStructureScore(Position& pos) {
  u32& entry = PawnHashTable[pos.PawnHashKey & PAWN_HASH_INDEX_MASK];
  u32 stored = entry & PAWN_HASH_SCORE_MASK;
  if (stored != 0 && ((entry ^ pos.PawnHashKey) & PAWN_HASH_KEY_MASK) == 0) {
    return static_cast<int>(stored) - PAWN_SCORE_BIAS;
  }
  int score = PawnStructureScore(pos);
  // A score that does not fit the entry's 16 bits (or would read as empty) is
  // not stored, so that the cache never hands back a different score.
  int biased = score + PAWN_SCORE_BIAS;
  if (biased > 0 && biased <= static_cast<int>(PAWN_HASH_SCORE_MASK)) {
    entry = (pos.PawnHashKey & PAWN_HASH_KEY_MASK) | static_cast<u32>(biased);
  }
  return score;
}
