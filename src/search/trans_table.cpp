#include "search/trans_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

#include "board/position.h"
#include "search/score.h"

constexpr u32 DEFAULT_BUCKETS_PER_SIDE = 1u << 18;
constexpr size_t MEGABYTE = size_t{1} << 20;
constexpr size_t LARGE_PAGE_SIZE = 2 * MEGABYTE;

namespace {

// The default table lives in static memory, aligned to the large pages that
// the system may back it with.
alignas(LARGE_PAGE_SIZE) TransBucket DefaultTable[2 * DEFAULT_BUCKETS_PER_SIDE];
static_assert(sizeof(TransEntry) == 12 && sizeof DefaultTable == 18'874'368);

}  // namespace

TransBucket* TransTable = DefaultTable;
u32 TransBucketMask = DEFAULT_BUCKETS_PER_SIDE - 1;

// The low bits of the key's low word choose the bucket; the bits above them
// and the high word tell the positions of one bucket apart. Only bits 16..31
// of the low word are stored with the move, so bits implied by the bucket are
// never compared, nor bits that are not stored: in a table of fewer than 2^16
// buckets a half, the bits between the bucket's and bit 16 are neither, and
// positions that differ only there are taken for one another. That makes
// false matches likelier, which the searchers survive as they survive any:
// a table move is checked for legality before it is played.
constexpr u32 STORED_KEY_MASK = 0xffff0000;
u32 TransCheckedKeyMask = STORED_KEY_MASK & ~(DEFAULT_BUCKETS_PER_SIDE - 1);

namespace {

u32 megabytesAsked = DEFAULT_HASH_MB;

constexpr u32 BOUND_MASK = BOUND_LOWER | BOUND_UPPER;
constexpr int AGE_SHIFT = 9;
constexpr int SCORE_SHIFT = 18;
constexpr int MIN_SCORE = -TRANS_SCORE_OFFSET;
constexpr int MAX_SCORE = (1 << 14) - 1 - TRANS_SCORE_OFFSET;

u32 KeyLow(Position& pos) { return static_cast<u32>(pos.HashKey); }
u32 KeyHigh(Position& pos) { return static_cast<u32>(pos.HashKey >> 32); }
int CurrentAge(Position& pos) { return pos.GameMoveCount % TRANS_AGE_MODULUS; }

void StoreWord(u32& word, u32 value) { std::atomic_ref<u32>(word).store(value, std::memory_order_relaxed); }

TransEntry ReadSlot(const TransEntry& slot) {
  return {LoadTransWord(slot.moveAndKey), LoadTransWord(slot.keyHigh), LoadTransWord(slot.info)};
}
void WriteSlot(TransEntry& slot, const TransEntry& value) {
  StoreWord(slot.moveAndKey, value.moveAndKey);
  StoreWord(slot.keyHigh, value.keyHigh);
  StoreWord(slot.info, value.info);
}

// A slot for the current position with the move and info words given.
TransEntry SlotOf(Position& pos, u32 moveAndKey, u32 info) {
  return {moveAndKey, KeyHigh(pos) ^ moveAndKey ^ info, info};
}

u32 PackInfo(Position& pos, i16 score, int depth, u32 bound) {
  int storedScore = std::clamp<int>(score, MIN_SCORE, MAX_SCORE) + TRANS_SCORE_OFFSET;
  return static_cast<u32>(depth) | (bound & BOUND_MASK) | (static_cast<u32>(CurrentAge(pos)) << AGE_SHIFT) |
         (static_cast<u32>(storedScore) << SCORE_SHIFT);
}

// An existing slot stays when it is worth more than the new entry (age plus
// depth), or as much with a bound no weaker (exact < lower < upper). Ages are
// counted modulo 512 like the stored age, and entries never come from a later
// game move than now, so the elapsed moves are (now - age) mod 512.
bool IsKept(Position& pos, const TransEntry& slot, int newDepth, u32 newBound) {
  int elapsed = (CurrentAge(pos) - EntryAge(slot)) & (TRANS_AGE_MODULUS - 1);
  auto margin = static_cast<i16>(newDepth - EntryDepth(slot) + elapsed);
  return margin < 0 || (margin == 0 && EntryBound(slot) <= newBound);
}

}  // namespace

TransEntry* CurrentTransBucket(Position& pos) { return TransBucketOf(pos.HashKey, pos.SideToMove); }

std::optional<TransEntry> ProbeTransTable(Position& pos) {
  TransEntry found;
  if (FindInTransTable(pos, found)) return found;
  return std::nullopt;
}

namespace {

bool IsMateScore(int score) { return score > MATE_SCORE_LIMIT && score <= MATE_SCORE; }

}  // namespace

i16 ScoreIntoTable(i16 score, int ply) {
  if (IsMateScore(score)) return static_cast<i16>(score + ply);
  if (IsMateScore(-score)) return static_cast<i16>(score - ply);
  return score;
}

i16 ScoreOutOfTable(i16 stored, int ply) {
  if (IsMateScore(stored)) return static_cast<i16>(stored - ply);
  if (IsMateScore(-stored)) return static_cast<i16>(stored + ply);
  return stored;
}

void StoreTransTable(Position& pos, Move move, i16 score, int depth, u32 bound) {
  depth = std::clamp(depth, 0, TRANS_MAX_DEPTH);
  bound &= BOUND_MASK;
  TransEntry* slots = CurrentTransBucket(pos);
  u32 info = PackInfo(pos, ScoreIntoTable(score, CurrentPly(pos)), depth, bound);

  const TransEntry first = ReadSlot(slots[0]);

  // The same position in slot 0 is only deepened or given a tighter bound.
  if (HoldsCurrentPosition(pos, first)) {
    int oldDepth = EntryDepth(first);
    if (depth > oldDepth || (depth == oldDepth && EntryBound(first) > bound)) {
      WriteSlot(slots[0], SlotOf(pos, (first.moveAndKey & STORED_KEY_MASK) | move, info));
    }
    return;
  }

  const TransEntry fresh = SlotOf(pos, (KeyLow(pos) & STORED_KEY_MASK) | move, info);
  if (!IsKept(pos, first, depth, bound)) {
    WriteSlot(slots[1], first);
    WriteSlot(slots[0], fresh);
  } else if (!IsKept(pos, ReadSlot(slots[1]), depth, bound)) {
    WriteSlot(slots[1], fresh);
  } else {
    WriteSlot(slots[2], fresh);
  }
}

u32 TransBucketsPerSideFor(u32 megabytes) {
  if (megabytes < MIN_HASH_MB || megabytes > MAX_HASH_MB) return 0;
  const size_t bucketPairs = megabytes * MEGABYTE / (2 * sizeof(TransBucket));
  return static_cast<u32>(std::bit_floor(bucketPairs));
}

u32 TransTableMegabytes() { return megabytesAsked; }
u32 TransBucketsPerSide() { return TransBucketMask + 1; }
size_t TransTableBytes() { return 2 * size_t{TransBucketsPerSide()} * sizeof(TransBucket); }

namespace {

// Every probe lands somewhere in many megabytes: with small pages nearly
// every one misses the address translation cache as well. Asked before the
// pages are first touched; where the system has no large pages the table
// works on small ones.
void AskForLargePages(void* table, size_t bytes) {
#ifdef MADV_HUGEPAGE
  madvise(table, bytes, MADV_HUGEPAGE);
#else
  (void)table, (void)bytes;
#endif
}

size_t RoundUpToLargePage(size_t bytes) { return (bytes + LARGE_PAGE_SIZE - 1) & ~(LARGE_PAGE_SIZE - 1); }

// A table of the given size from the system, aligned to a large page, or
// nullptr when the system will not give that much.
TransBucket* MapTable(size_t bytes) {
  const size_t length = RoundUpToLargePage(bytes);
  void* mapped = mmap(nullptr, length + LARGE_PAGE_SIZE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  // Keep the aligned part only.
  char* start = static_cast<char*>(mapped);
  char* aligned = start + (-reinterpret_cast<uintptr_t>(start) & (LARGE_PAGE_SIZE - 1));
  if (aligned > start) munmap(start, static_cast<size_t>(aligned - start));
  munmap(aligned + length, static_cast<size_t>(start + LARGE_PAGE_SIZE - aligned));
  AskForLargePages(aligned, length);
  return reinterpret_cast<TransBucket*>(aligned);
}

// Gives the memory of the table in use back to the system: a mapped table
// goes, the static one keeps its addresses but drops its pages.
void ReleaseTable() {
  if (TransTable == DefaultTable) {
    madvise(DefaultTable, sizeof DefaultTable, MADV_DONTNEED);
  } else {
    munmap(TransTable, RoundUpToLargePage(TransTableBytes()));
  }
}

}  // namespace

bool ResizeTransTable(u32 megabytes) {
  const u32 bucketsPerSide = TransBucketsPerSideFor(megabytes);
  if (bucketsPerSide == 0) return false;
  if (bucketsPerSide != TransBucketsPerSide()) {
    TransBucket* table = bucketsPerSide == DEFAULT_BUCKETS_PER_SIDE
                             ? DefaultTable
                             : MapTable(2 * size_t{bucketsPerSide} * sizeof(TransBucket));
    if (table == nullptr) return false;
    ReleaseTable();
    TransTable = table;
    TransBucketMask = bucketsPerSide - 1;
    TransCheckedKeyMask = STORED_KEY_MASK & ~TransBucketMask;
  }
  megabytesAsked = megabytes;
  ClearTransTable();  // also brings in every page now rather than during a search
  return true;
}

void ClearTransTable() {
  static bool askedForDefault = false;  // asked once, before the first clear touches the pages
  if (!askedForDefault) {
    askedForDefault = true;
    AskForLargePages(DefaultTable, sizeof DefaultTable);
  }
  std::memset(TransTable, 0, TransTableBytes());
}
