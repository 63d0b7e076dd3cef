// The transposition table: per position the best move found, its score with the
// kind of bound, the depth searched and the game move at which it was stored.
// It is the search's only memory of best moves between iterations; the
// principal variation and the ponder move are read back out of it.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>

#include "board/position.h"
#include "search/score.h"

// One slot, three words:
//   moveAndKey  bits 0..15 move or result code, bits 16..31 HashKey bits 16..31
//   keyHigh     high 32 bits of HashKey, XOR the other two words
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

// The table is split in two halves by side to move, white's above black's,
// since HashKey does not tell the sides apart. Each half holds a power of two
// of buckets of three slots: as many as fit in the megabytes chosen (1 MB =
// 2^20 bytes). The default is 2 x 262,144 buckets, 18,874,368 bytes.
constexpr int TRANS_SLOTS = 3;
constexpr u32 DEFAULT_HASH_MB = 18;
constexpr u32 MIN_HASH_MB = 1;
constexpr u32 MAX_HASH_MB = 4096;  // a table of 2 x 2^25 buckets, 2.25 GiB

// The table in use, changed only by ResizeTransTable: its buckets and the key
// bits that choose a bucket within a half.
using TransBucket = TransEntry[TRANS_SLOTS];
extern TransBucket* TransTable;
extern u32 TransBucketMask;  // buckets per half - 1

// The buckets per half of a table of the given size; 0 for a size outside
// MIN_HASH_MB..MAX_HASH_MB.
u32 TransBucketsPerSideFor(u32 megabytes);

// Gives the table the size asked for and clears it. A size outside
// MIN_HASH_MB..MAX_HASH_MB, or memory the system refuses, returns false and
// leaves the table as it was, entries and all.
bool ResizeTransTable(u32 megabytes);
u32 TransTableMegabytes();  // as last asked for
u32 TransBucketsPerSide();
size_t TransTableBytes();

constexpr int TRANS_MAX_DEPTH = 0x7f;
constexpr int TRANS_SCORE_OFFSET = -SCORE_ILLEGAL;  // scores -8190..8193 fit the 14 score bits
constexpr int TRANS_AGE_MODULUS = 512;    // GameMoveCount is kept in 9 bits

// Searchers on other threads write the table while it is read, without locks:
// the words of a slot are each read and written whole, and the key is kept
// XOR the other two words, so that a slot whose words come from different
// writes no longer matches its position.
inline u32 EntryKeyHigh(const TransEntry& entry) { return entry.keyHigh ^ entry.moveAndKey ^ entry.info; }
inline Move EntryMove(const TransEntry& entry) { return static_cast<Move>(entry.moveAndKey); }
inline int EntryDepth(const TransEntry& entry) { return static_cast<int>(entry.info & 0x7f); }
inline u32 EntryBound(const TransEntry& entry) { return entry.info & 0x180; }
inline int EntryAge(const TransEntry& entry) { return static_cast<int>((entry.info >> 9) & 0x1ff); }
inline i16 EntryScore(const TransEntry& entry) {
  return static_cast<i16>(static_cast<int>(entry.info >> 18) - TRANS_SCORE_OFFSET);
}

// Mate scores count plies from the root of the search that finds them. The
// table keeps them counted from the node they belong to, so that a mate read
// back at another ply, or by a later search, keeps its true distance: a score
// of a mate in n plies from the node is stored as MATE_SCORE - n (and the
// side mated's as -MATE_SCORE + n). Other scores are stored as they are.
i16 ScoreIntoTable(i16 score, int ply);
i16 ScoreOutOfTable(i16 stored, int ply);

// The ply of the node being searched: the records are one per ply from the root.
inline int CurrentPly(Position& pos) { return static_cast<int>(pos.UndoTop - pos.UndoRecords); }

// The bucket of a position: the low bits of its key, in the half of its side to move.
inline TransEntry* TransBucketOf(u64 key, u32 side) {
  return TransTable[(static_cast<u32>(key) & TransBucketMask) + side * (TransBucketMask + 1)];
}

// The bucket of the current position (HashKey, SideToMove).
TransEntry* CurrentTransBucket(Position& pos);

// Starts loading the current position's bucket, for a probe a little later.
inline void PrefetchCurrentTransBucket(Position& pos) {
  const char* bucket = reinterpret_cast<const char*>(TransBucketOf(pos.HashKey, pos.SideToMove));
  __builtin_prefetch(bucket);
  __builtin_prefetch(bucket + sizeof(TransBucket) - 1);  // a bucket may straddle two lines
}

// The key bits of moveAndKey compared on a probe: those stored and not
// implied by the bucket.
extern u32 TransCheckedKeyMask;

// The stored bits of the key's low word are those of keyLow.
inline bool LowKeyMatches(u32 moveAndKey, u32 keyLow) { return ((moveAndKey ^ keyLow) & TransCheckedKeyMask) == 0; }

// A slot never written matches nothing, so that a cleared table misses even
// for a key whose compared bits are all zero.
inline bool IsEmptySlot(const TransEntry& slot) { return (slot.moveAndKey | slot.keyHigh | slot.info) == 0; }

// The slot holds the current position (HashKey).
inline bool HoldsCurrentPosition(Position& pos, const TransEntry& slot) {
  return LowKeyMatches(slot.moveAndKey, static_cast<u32>(pos.HashKey)) &&
         EntryKeyHigh(slot) == static_cast<u32>(pos.HashKey >> 32) && !IsEmptySlot(slot);
}

// Each word of a slot is read whole, as another searcher may be writing it.
inline u32 LoadTransWord(const u32& word) {
  return std::atomic_ref<u32>(const_cast<u32&>(word)).load(std::memory_order_relaxed);
}

// Copies into found the first slot (0, 1, 2) of the current position's bucket
// that holds the current position; false when none does. Inline: every node
// of the search asks.
inline bool FindInTransTable(Position& pos, TransEntry& found) {
  const TransEntry* slots = TransBucketOf(pos.HashKey, pos.SideToMove);
  for (int i = 0; i < TRANS_SLOTS; ++i) {
    // Most slots hold other positions: their first word tells, without reading the others.
    const u32 moveAndKey = LoadTransWord(slots[i].moveAndKey);
    if (!LowKeyMatches(moveAndKey, static_cast<u32>(pos.HashKey))) continue;
    found = {moveAndKey, LoadTransWord(slots[i].keyHigh), LoadTransWord(slots[i].info)};
    if (HoldsCurrentPosition(pos, found)) return true;
  }
  return false;
}

// The same, as a copy of the slot if any.
std::optional<TransEntry> ProbeTransTable(Position& pos);

// Stores for the current position, stamped with GameMoveCount, by the
// replacement rule: a slot's worth is its age plus its depth. A mate score
// goes in counted from the current ply (ScoreIntoTable).
void StoreTransTable(Position& pos, Move move, i16 score, int depth, u32 bound);

// Forgets every entry of both halves.
void ClearTransTable();
