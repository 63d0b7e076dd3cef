// The transposition table: per position the best move found, its score with the
// kind of bound, the depth searched and the game move at which it was stored.
// It is the search's only memory of best moves between iterations; the
// principal variation and the ponder move are read back out of it.
#pragma once

#include "board/position.h"

// One slot, three words:
//   moveAndKey  bits 0..15 move or result code, bits 16..31 HashKey bits 16..31
//   keyHigh     high 32 bits of HashKey
//   info        bits 0..6 depth, 7..8 bound, 9..17 age, 18..31 score + 8190
struct TransEntry {
  u32 moveAndKey;
  u32 keyHigh;
  u32 info;
};

// Bound kinds, as they stand in the info word.
constexpr u32 BOUND_EXACT = 0;      // the score is the true score
constexpr u32 BOUND_LOWER = 0x80;   // the true score is at least the stored one
constexpr u32 BOUND_UPPER = 0x100;  // the true score is at most the stored one

// 2 x 262,144 buckets of three slots: white to move in the upper half, since
// HashKey does not tell the sides apart. 18,874,368 bytes in static memory.
constexpr u32 TRANS_BUCKETS_PER_SIDE = 1u << 18;
constexpr u32 TRANS_BUCKETS = 2 * TRANS_BUCKETS_PER_SIDE;
constexpr int TRANS_SLOTS = 3;
extern TransEntry TransTable[TRANS_BUCKETS][TRANS_SLOTS];

constexpr int TRANS_MAX_DEPTH = 0x7f;
constexpr int TRANS_SCORE_OFFSET = 8190;  // scores -8190..8193 fit the 14 score bits
constexpr int TRANS_AGE_MODULUS = 512;    // GameMoveCount is kept in 9 bits

inline Move EntryMove(const TransEntry& entry) { return static_cast<Move>(entry.moveAndKey); }
inline int EntryDepth(const TransEntry& entry) { return static_cast<int>(entry.info & 0x7f); }
inline u32 EntryBound(const TransEntry& entry) { return entry.info & 0x180; }
inline int EntryAge(const TransEntry& entry) { return static_cast<int>((entry.info >> 9) & 0x1ff); }
inline i16 EntryScore(const TransEntry& entry) {
  return static_cast<i16>(static_cast<int>(entry.info >> 18) - TRANS_SCORE_OFFSET);
}

// The bucket of a position: the low bits of its key, in the half of its side to move.
inline TransEntry* TransBucketOf(u64 key, u32 side) {
  return TransTable[(static_cast<u32>(key) & (TRANS_BUCKETS_PER_SIDE - 1)) + side * TRANS_BUCKETS_PER_SIDE];
}

// The bucket of the current position (HashKey, SideToMove).
TransEntry* CurrentTransBucket();

// Starts loading the current position's bucket, for a probe a little later.
inline void PrefetchCurrentTransBucket() {
  const char* bucket = reinterpret_cast<const char*>(TransBucketOf(HashKey, SideToMove));
  __builtin_prefetch(bucket);
  __builtin_prefetch(bucket + sizeof(TransEntry[TRANS_SLOTS]) - 1);  // a bucket may straddle two lines
}

// The first slot (0, 1, 2) of the current position's bucket that holds the
// current position, or nullptr.
TransEntry* ProbeTransTable();

// Stores for the current position, stamped with GameMoveCount, by the
// replacement rule: a slot's worth is its age plus its depth.
void StoreTransTable(Move move, i16 score, int depth, u32 bound);

// Forgets every entry of both halves.
void ClearTransTable();
