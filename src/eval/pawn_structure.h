// The pawn-structure score and its cache, keyed by PawnHashKey alone.
#pragma once

#include "board/position.h"

// An entry holds bits 20..31 of the PawnHashKey that stored it and, in its low
// 16 bits, the score plus PAWN_SCORE_BIAS; low bits of 0 mark an empty entry.
constexpr int PAWN_HASH_BITS = 20;
constexpr u32 PAWN_HASH_SIZE = u32{1} << PAWN_HASH_BITS;
constexpr u32 PAWN_HASH_INDEX_MASK = PAWN_HASH_SIZE - 1;
constexpr u32 PAWN_HASH_KEY_MASK = ~PAWN_HASH_INDEX_MASK;
constexpr u32 PAWN_HASH_SCORE_MASK = 0xFFFF;
constexpr int PAWN_SCORE_BIAS = 8190;

extern thread_local constinit u32 PawnHashTable[PAWN_HASH_SIZE];

// Empties the cache; the position loader calls it.
void ClearPawnHashTable();

// Pawns of both colours, white-positive, computed afresh at the present
// TotalMaterial (which selects the pawn table): material, table entries,
// passed, doubled, isolated and attacked pawns.
int PawnStructureScore(Position& pos);

// The same through the cache: a stored score is used as it stands, whatever
// the material now; otherwise it is computed and stored.
int CachedPawnStructureScore(Position& pos);

// Starts loading the cache entry of the present pawns, so that it has arrived
// by the time CachedPawnStructureScore reads it after other work.
inline void PrefetchPawnEntry(Position& pos) {
  __builtin_prefetch(&PawnHashTable[pos.PawnHashKey & PAWN_HASH_INDEX_MASK]);
}
