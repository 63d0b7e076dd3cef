#include "search/trans_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>

#include "board/position.h"

// Aligned to the large pages that the system may back the table with.
constexpr size_t LARGE_PAGE_SIZE = 2 * 1024 * 1024;
alignas(LARGE_PAGE_SIZE) TransEntry TransTable[TRANS_BUCKETS][TRANS_SLOTS];
static_assert(sizeof(TransEntry) == 12 && sizeof TransTable == 18'874'368);

namespace {

// Bits 0..17 of the key's low word choose the bucket; bits 18..31 and the high
// word tell the positions of one bucket apart. Bits 16 and 17 are stored with
// the move but, being implied by the bucket, never compared.
constexpr u32 BUCKET_KEY_MASK = TRANS_BUCKETS_PER_SIDE - 1;
constexpr u32 CHECKED_KEY_MASK = ~BUCKET_KEY_MASK;
constexpr u32 STORED_KEY_MASK = 0xffff0000;
constexpr u32 BOUND_MASK = BOUND_LOWER | BOUND_UPPER;
constexpr int AGE_SHIFT = 9;
constexpr int SCORE_SHIFT = 18;
constexpr int MIN_SCORE = -TRANS_SCORE_OFFSET;
constexpr int MAX_SCORE = (1 << 14) - 1 - TRANS_SCORE_OFFSET;

u32 KeyLow() { return static_cast<u32>(HashKey); }
u32 KeyHigh() { return static_cast<u32>(HashKey >> 32); }
int CurrentAge() { return GameMoveCount % TRANS_AGE_MODULUS; }

// A slot never written matches nothing, so that a cleared table misses even
// for a key whose compared bits are all zero.
bool IsEmpty(const TransEntry& slot) { return (slot.moveAndKey | slot.keyHigh | slot.info) == 0; }

bool HoldsCurrentPosition(const TransEntry& slot) {
  return ((slot.moveAndKey ^ KeyLow()) & CHECKED_KEY_MASK) == 0 && slot.keyHigh == KeyHigh() &&
         !IsEmpty(slot);
}

u32 PackInfo(i16 score, int depth, u32 bound) {
  int storedScore = std::clamp<int>(score, MIN_SCORE, MAX_SCORE) + TRANS_SCORE_OFFSET;
  return static_cast<u32>(depth) | (bound & BOUND_MASK) |
         (static_cast<u32>(CurrentAge()) << AGE_SHIFT) | (static_cast<u32>(storedScore) << SCORE_SHIFT);
}

// An existing slot stays when it is worth more than the new entry (age plus
// depth), or as much with a bound no weaker (exact < lower < upper). Ages are
// counted modulo 512 like the stored age, and entries never come from a later
// game move than now, so the elapsed moves are (now - age) mod 512.
bool IsKept(const TransEntry& slot, int newDepth, u32 newBound) {
  int elapsed = (CurrentAge() - EntryAge(slot)) & (TRANS_AGE_MODULUS - 1);
  auto margin = static_cast<i16>(newDepth - EntryDepth(slot) + elapsed);
  return margin < 0 || (margin == 0 && EntryBound(slot) <= newBound);
}

}  // namespace

TransEntry* CurrentTransBucket() { return TransBucketOf(HashKey, SideToMove); }

TransEntry* ProbeTransTable() {
  TransEntry* slots = CurrentTransBucket();
  for (int i = 0; i < TRANS_SLOTS; ++i) {
    if (HoldsCurrentPosition(slots[i])) return &slots[i];
  }
  return nullptr;
}

void StoreTransTable(Move move, i16 score, int depth, u32 bound) {
  depth = std::clamp(depth, 0, TRANS_MAX_DEPTH);
  bound &= BOUND_MASK;
  TransEntry* slots = CurrentTransBucket();
  u32 info = PackInfo(score, depth, bound);

  // The same position in slot 0 is only deepened or given a tighter bound.
  if (HoldsCurrentPosition(slots[0])) {
    int oldDepth = EntryDepth(slots[0]);
    if (depth > oldDepth || (depth == oldDepth && EntryBound(slots[0]) > bound)) {
      slots[0].moveAndKey = (slots[0].moveAndKey & STORED_KEY_MASK) | move;
      slots[0].info = info;
    }
    return;
  }

  TransEntry fresh{(KeyLow() & STORED_KEY_MASK) | move, KeyHigh(), info};
  if (!IsKept(slots[0], depth, bound)) {
    slots[1] = slots[0];
    slots[0] = fresh;
  } else if (!IsKept(slots[1], depth, bound)) {
    slots[1] = fresh;
  } else {
    slots[2] = fresh;
  }
}

// Every probe lands somewhere in 18 MB: with small pages nearly every one
// misses the address translation cache as well. Asked once, before the
// first clear touches the pages; where the system has no large pages the
// table works on small ones.
void AskForLargePages() {
  static bool asked = false;
  if (asked) return;
  asked = true;
#ifdef MADV_HUGEPAGE
  madvise(TransTable, sizeof TransTable, MADV_HUGEPAGE);
#endif
}

void ClearTransTable() {
  AskForLargePages();
  std::memset(TransTable, 0, sizeof TransTable);
}
