#include "search/trans_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "board/position.h"

namespace {

constexpr Move E2E4 = MakeMoveCode(E2, E4, KIND_QUIET);
constexpr Move G1F3 = MakeMoveCode(G1, F3, KIND_QUIET);
constexpr Move D7D5 = MakeMoveCode(D7, D5, KIND_QUIET);
constexpr Move B1C3 = MakeMoveCode(B1, C3, KIND_QUIET);

// Keys that share their low 18 bits fall into one bucket and differ in the
// compared bits; ALPHA and its kin land in bucket 0x2b3c5 of a side's half.
constexpr u64 ALPHA = 0x0123456789eb3c5ull;
constexpr u64 BETA = 0x1111111100eb3c5ull;
constexpr u64 GAMMA = 0x2222222200eb3c5ull;
constexpr u64 DELTA = 0x3333333300eb3c5ull;
constexpr u64 EPSILON = 0x4444444400eb3c5ull;

class TransTableTest : public testing::Test {
 protected:
  void SetUp() override {
    savedKey_ = HashKey;
    savedSide_ = SideToMove;
    savedMoveCount_ = GameMoveCount;
    ClearTransTable();
    GameMoveCount = 1;
  }
  void TearDown() override {
    ClearTransTable();
    HashKey = savedKey_;
    SideToMove = savedSide_;
    GameMoveCount = savedMoveCount_;
  }
  static void At(u64 key, u32 side = WHITE) {
    HashKey = key;
    SideToMove = side;
  }
  // The move found for the position; nothing on a miss.
  static std::optional<Move> FoundMove(u64 key, u32 side = WHITE) {
    At(key, side);
    const TransEntry* entry = ProbeTransTable();
    if (entry == nullptr) return std::nullopt;
    return EntryMove(*entry);
  }
  // The key high words held by the three slots of ALPHA's bucket (white half).
  static std::vector<u32> SlotOwners() {
    At(ALPHA);
    const TransEntry* slots = CurrentTransBucket();
    return {slots[0].keyHigh, slots[1].keyHigh, slots[2].keyHigh};
  }
  static u32 High(u64 key) { return static_cast<u32>(key >> 32); }

 private:
  u64 savedKey_ = 0;
  u32 savedSide_ = WHITE;
  u16 savedMoveCount_ = 1;
};

TEST_F(TransTableTest, StoredFieldsReadBackUnchanged) {
  struct Case {
    Move move;
    i16 score;
    int depth;
    u32 bound;
  };
  // Extremes of every field, result codes, and mate scores (which are never
  // adjusted for the ply at which they are read).
  const Case cases[] = {{E2E4, 35, 9, BOUND_EXACT},        {G1F3, -8190, 0, BOUND_UPPER},
                        {D7D5, 8193, 127, BOUND_LOWER},    {GAME_MATED, -8095, 5, BOUND_EXACT},
                        {GAME_STALEMATE, 0, 3, BOUND_EXACT}, {0xffff, 8095, 1, BOUND_LOWER},
                        {NO_MOVE, -1, 0, BOUND_UPPER}};
  GameMoveCount = 37;
  u64 key = 0x00000001000000a1ull;
  for (const Case& c : cases) {
    key += 0x0000000100000001ull;
    At(key);
    StoreTransTable(c.move, c.score, c.depth, c.bound);
    const TransEntry* entry = ProbeTransTable();
    ASSERT_NE(entry, nullptr) << c.move;
    EXPECT_EQ(EntryMove(*entry), c.move);
    EXPECT_EQ(EntryScore(*entry), c.score);
    EXPECT_EQ(EntryDepth(*entry), c.depth);
    EXPECT_EQ(EntryBound(*entry), c.bound);
    EXPECT_EQ(EntryAge(*entry), 37);
    EXPECT_EQ(entry->moveAndKey >> 16, (key >> 16) & 0xffff);  // the key bits above the move
    EXPECT_EQ(entry->keyHigh, High(key));
  }
}

TEST_F(TransTableTest, SidesToMoveKeepApartUnderOneKey) {
  At(ALPHA, WHITE);
  StoreTransTable(E2E4, 20, 4, BOUND_EXACT);
  EXPECT_EQ(FoundMove(ALPHA, BLACK), std::nullopt);

  At(ALPHA, BLACK);
  StoreTransTable(D7D5, -15, 6, BOUND_LOWER);
  EXPECT_EQ(FoundMove(ALPHA, WHITE), E2E4);
  EXPECT_EQ(FoundMove(ALPHA, BLACK), D7D5);
  EXPECT_EQ(EntryScore(*ProbeTransTable()), -15);

  At(ALPHA, BLACK);
  EXPECT_EQ(CurrentTransBucket(), TransTable[0x2b3c5]);
  At(ALPHA, WHITE);
  EXPECT_EQ(CurrentTransBucket(), TransTable[0x2b3c5 + TRANS_BUCKETS_PER_SIDE]);
}

TEST_F(TransTableTest, OnlyTheComparedKeyBitsDecideAMatch) {
  At(ALPHA);
  StoreTransTable(E2E4, 0, 2, BOUND_EXACT);
  EXPECT_EQ(FoundMove(ALPHA ^ (1ull << 40)), std::nullopt);  // high word
  EXPECT_EQ(FoundMove(ALPHA ^ (1ull << 18)), std::nullopt);  // lowest compared bit
  EXPECT_EQ(FoundMove(ALPHA ^ (1ull << 31)), std::nullopt);
  EXPECT_EQ(FoundMove(ALPHA ^ 1ull), std::nullopt);          // another bucket
  EXPECT_EQ(FoundMove(ALPHA), E2E4);
}

TEST_F(TransTableTest, TheLastBucketOfEachHalfIsUsable) {
  constexpr u64 lastBucketKey = 0xfedcba980003ffffull;
  for (u32 side : {BLACK, WHITE}) {
    At(lastBucketKey, side);
    StoreTransTable(side == WHITE ? E2E4 : D7D5, 1, 1, BOUND_EXACT);
  }
  At(lastBucketKey, WHITE);
  EXPECT_EQ(CurrentTransBucket(), TransTable[TRANS_BUCKETS - 1]);
  EXPECT_EQ(FoundMove(lastBucketKey, WHITE), E2E4);
  EXPECT_EQ(FoundMove(lastBucketKey, BLACK), D7D5);
}

TEST_F(TransTableTest, SamePositionIsOnlyDeepenedOrTightened) {
  At(ALPHA);
  StoreTransTable(E2E4, 10, 5, BOUND_UPPER);
  StoreTransTable(G1F3, 12, 5, BOUND_EXACT);  // same depth, tighter bound: replaces
  EXPECT_EQ(FoundMove(ALPHA), G1F3);
  StoreTransTable(D7D5, 14, 5, BOUND_LOWER);  // same depth, looser: ignored
  StoreTransTable(D7D5, 14, 4, BOUND_EXACT);  // shallower: ignored
  StoreTransTable(D7D5, 14, 5, BOUND_EXACT);  // same depth, same bound: ignored
  const TransEntry* entry = ProbeTransTable();
  EXPECT_EQ(EntryMove(*entry), G1F3);
  EXPECT_EQ(EntryScore(*entry), 12);

  StoreTransTable(B1C3, -3, 6, BOUND_UPPER);  // deeper, whatever the bound
  entry = ProbeTransTable();
  EXPECT_EQ(EntryMove(*entry), B1C3);
  EXPECT_EQ(EntryScore(*entry), -3);
  EXPECT_EQ(EntryBound(*entry), BOUND_UPPER);
  EXPECT_EQ(entry, CurrentTransBucket());  // rewritten in place in slot 0
  EXPECT_EQ(CurrentTransBucket()[1].keyHigh, 0u);

  constexpr u64 elsewhere = 0x0badf00d12345678ull;
  At(elsewhere);
  StoreTransTable(E2E4, 0, 3, BOUND_LOWER);
  StoreTransTable(G1F3, 0, 3, BOUND_EXACT);  // a lower bound gives way to an exact score
  EXPECT_EQ(FoundMove(elsewhere), G1F3);
  EXPECT_EQ(ProbeTransTable(), CurrentTransBucket());
}

TEST_F(TransTableTest, WorthierSlotsStayAndTheThirdSlotTakesTheRest) {
  At(ALPHA);
  StoreTransTable(E2E4, 0, 5, BOUND_EXACT);
  At(BETA);
  StoreTransTable(G1F3, 0, 3, BOUND_EXACT);  // slot 0 is worth more: slot 1
  EXPECT_EQ(SlotOwners(), (std::vector<u32>{High(ALPHA), High(BETA), 0}));
  At(GAMMA);
  StoreTransTable(D7D5, 0, 2, BOUND_EXACT);  // both worth more: slot 2
  At(DELTA);
  StoreTransTable(B1C3, 0, 1, BOUND_EXACT);  // slot 2 is always replaced
  EXPECT_EQ(SlotOwners(), (std::vector<u32>{High(ALPHA), High(BETA), High(DELTA)}));
  EXPECT_EQ(FoundMove(GAMMA), std::nullopt);

  At(EPSILON);
  StoreTransTable(E2E4, 0, 6, BOUND_EXACT);  // beats slot 0, which moves down over slot 1
  EXPECT_EQ(SlotOwners(), (std::vector<u32>{High(EPSILON), High(ALPHA), High(DELTA)}));
  EXPECT_EQ(FoundMove(BETA), std::nullopt);
  EXPECT_EQ(FoundMove(ALPHA), E2E4);
}

TEST_F(TransTableTest, EqualWorthIsDecidedByTheBound) {
  At(ALPHA);
  StoreTransTable(E2E4, 0, 4, BOUND_EXACT);
  At(BETA);
  StoreTransTable(G1F3, 0, 4, BOUND_UPPER);  // exact is not above upper: slot 0 stays
  EXPECT_EQ(SlotOwners()[0], High(ALPHA));
  At(GAMMA);
  StoreTransTable(D7D5, 0, 4, BOUND_EXACT);  // slot 0 stays (equal bounds); slot 1, an upper bound, goes
  EXPECT_EQ(SlotOwners(), (std::vector<u32>{High(ALPHA), High(GAMMA), 0}));
}

TEST_F(TransTableTest, OlderEntriesLoseWorth) {
  GameMoveCount = 10;
  At(ALPHA);
  StoreTransTable(E2E4, 0, 5, BOUND_EXACT);  // worth 15
  GameMoveCount = 13;
  At(BETA);
  StoreTransTable(G1F3, 0, 2, BOUND_EXACT);  // worth 15: the bound keeps slot 0
  EXPECT_EQ(SlotOwners()[0], High(ALPHA));
  GameMoveCount = 14;
  At(GAMMA);
  StoreTransTable(D7D5, 0, 2, BOUND_EXACT);  // worth 16: takes slot 0
  EXPECT_EQ(SlotOwners(), (std::vector<u32>{High(GAMMA), High(ALPHA), 0}));
}

TEST_F(TransTableTest, AgeWrapsAfter511MovesWithoutTouchingTheScore) {
  for (u16 moveCount : {511, 512, 1000, 65535}) {
    GameMoveCount = moveCount;
    At(ALPHA + (static_cast<u64>(moveCount) << 32));
    StoreTransTable(E2E4, -8095, 127, BOUND_UPPER);
    const TransEntry* entry = ProbeTransTable();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(EntryAge(*entry), moveCount % 512);
    EXPECT_EQ(EntryScore(*entry), -8095);
    EXPECT_EQ(EntryDepth(*entry), 127);
    EXPECT_EQ(EntryBound(*entry), BOUND_UPPER);
  }

  // An entry from four moves before the wrap is four moves old after it.
  ClearTransTable();
  GameMoveCount = 510;
  At(ALPHA);
  StoreTransTable(E2E4, 0, 10, BOUND_EXACT);
  GameMoveCount = 514;
  At(BETA);
  StoreTransTable(G1F3, 0, 7, BOUND_EXACT);  // worth 514 + 7 against 510 + 10
  EXPECT_EQ(SlotOwners()[0], High(BETA));
}

TEST_F(TransTableTest, OutOfRangeDepthAndScoreAreHeldAtTheirLimits) {
  At(ALPHA);
  StoreTransTable(E2E4, 9000, 200, BOUND_UPPER);
  const TransEntry* entry = ProbeTransTable();
  EXPECT_EQ(EntryDepth(*entry), 127);
  EXPECT_EQ(EntryBound(*entry), BOUND_UPPER);
  EXPECT_EQ(EntryScore(*entry), 8193);
  EXPECT_EQ(EntryAge(*entry), 1);

  At(BETA);
  StoreTransTable(G1F3, -9000, -3, BOUND_LOWER);
  entry = ProbeTransTable();
  EXPECT_EQ(EntryDepth(*entry), 0);
  EXPECT_EQ(EntryScore(*entry), -8190);
}

TEST_F(TransTableTest, ClearForgetsEveryEntryOfBothHalves) {
  const u64 keys[] = {ALPHA, BETA, GAMMA, 0x8000000000000000ull, 0x0000000000040000ull};
  for (u64 key : keys) {
    for (u32 side : {BLACK, WHITE}) {
      At(key, side);
      StoreTransTable(E2E4, 0, 1, BOUND_EXACT);
      ASSERT_NE(ProbeTransTable(), nullptr);
    }
  }
  ClearTransTable();
  for (u64 key : keys) {
    EXPECT_EQ(FoundMove(key, WHITE), std::nullopt);
    EXPECT_EQ(FoundMove(key, BLACK), std::nullopt);
  }
  // A key whose compared bits are all zero must not take an empty slot for its own.
  EXPECT_EQ(FoundMove(0, WHITE), std::nullopt);
  EXPECT_EQ(FoundMove(0x0000000000012345ull, BLACK), std::nullopt);
}

}  // namespace
