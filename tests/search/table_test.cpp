// The transposition table: fields, sizes, side halves, key bits and replacement worked by hand; the line read back.
#include <fstream>
#include <sstream>

#include "search/table_probe.h"
#include "search_probe.h"
#include "support/resource_limit.h"

// Keys 'A' to 'E' share their low 18 bits, so fall into one bucket (0x2b3c5 of a side's half), and differ in the
// compared bits.
constexpr u64 KEYS[] = {0x0123456789eb3c5ull, 0x1111111100eb3c5ull, 0x2222222200eb3c5ull, 0x3333333300eb3c5ull,
                        0x4444444400eb3c5ull};
constexpr u64 ALPHA = KEYS[0];
constexpr Move E2E4 = MakeMoveCode(E2, E4, KIND_QUIET);

static constexpr Move QuietMove(const char* text) {
  return MakeMoveCode(SquareOfText(text), SquareOfText(text + 2), KIND_QUIET);
}

static void At(Position& pos, u64 key, u32 side = WHITE, u16 moveCount = 1) {
  std::tie(pos.HashKey, pos.SideToMove, pos.GameMoveCount) = std::tuple(key, side, moveCount);
}

// The move found for the position, or "miss".
static std::string Found(Position& pos, u64 key, u32 side = WHITE) {
  At(pos, key, side);
  const std::optional<TransEntry> entry = ProbeTransTable(pos);
  return entry ? MoveText(EntryMove(*entry)) : "miss";
}

TEST(TransTable, FieldsLimitsAndEmptySlots) {
  Position pos;
  ClearTransTable();
  At(pos, ALPHA, WHITE, 65535);                             // the age is kept modulo 512, apart from the score
  StoreTransTable(pos, GAME_MATED, -8095, 5, BOUND_EXACT);  // at the root, a mate score is stored as it is
  std::optional<TransEntry> entry = ProbeTransTable(pos);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(std::tuple(EntryMove(*entry), EntryScore(*entry), EntryDepth(*entry), EntryBound(*entry), EntryAge(*entry)),
            std::tuple(GAME_MATED, -8095, 5, BOUND_EXACT, 511));
  At(pos, KEYS[1]);  // out-of-range scores and depths are held at their limits
  for (auto [score, depth, storedScore, storedDepth] : {std::tuple{-9000, -3, -8190, 0}, {9000, 200, 8193, 127}}) {
    StoreTransTable(pos, E2E4, static_cast<i16>(score), depth, BOUND_UPPER);
    entry = ProbeTransTable(pos);
    EXPECT_EQ(std::tuple(EntryScore(*entry), EntryDepth(*entry)), std::tuple(storedScore, storedDepth)) << score;
  }
  ClearTransTable();
  EXPECT_EQ(Found(pos, ALPHA), "miss");
  // A key whose compared bits are all zero must not take an empty slot for its own.
  EXPECT_EQ(Found(pos, 0, WHITE) + Found(pos, 0x12345, BLACK), "missmiss");
}

// 1 MB = 2^20 bytes; a bucket pair (one per side) is 72 bytes.
TEST(TransTable, ASizeGivesThePowerOfTwoOfBucketsThatFitsAndAResizeClearsTheTable) {
  Position pos;
  DefaultTableAfter restore;
  const struct { u32 megabytes; u32 bucketsPerSide; size_t bytes; } sizes[] = {
      {18, 1u << 18, 18'874'368}, {1, 1u << 13, 589'824}, {19, 1u << 18, 18'874'368}, {64, 1u << 19, 37'748'736},
      {0, 0, 0}, {MAX_HASH_MB + 1, 0, 0}, {18, 1u << 18, 18'874'368},
      {MAX_HASH_MB, 1u << 25, 2'415'919'104},  // not taken here, for the memory's sake
  };
  for (auto [megabytes, bucketsPerSide, bytes] : sizes) {
    EXPECT_EQ(TransBucketsPerSideFor(megabytes), bucketsPerSide) << megabytes;
    if (megabytes == MAX_HASH_MB) continue;
    const auto before = std::tuple(TransTableMegabytes(), TransBucketsPerSide(), TransTableBytes());
    At(pos, ALPHA);
    StoreTransTable(pos, E2E4, 0, 1, BOUND_EXACT);
    const bool resized = ResizeTransTable(megabytes);
    EXPECT_EQ(resized, bytes != 0) << megabytes;
    EXPECT_EQ(std::tuple(TransTableMegabytes(), TransBucketsPerSide(), TransTableBytes()),
              resized ? std::tuple(megabytes, bucketsPerSide, bytes) : before);
    EXPECT_EQ(Found(pos, ALPHA), resized ? "miss" : "e2e4") << megabytes;
  }
  // Memory the system refuses (the address space held at what the process holds now) leaves the table as it was.
  StoreTransTable(pos, E2E4, 0, 1, BOUND_EXACT);
  rlim_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  bool resized = true;
  {
    ResourceLimit full(RLIMIT_AS, pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)));
    resized = ResizeTransTable(64);
  }
  EXPECT_EQ(std::tuple(resized, TransTableMegabytes(), Found(pos, ALPHA)), std::tuple(false, 18u, "e2e4"));
}

// At every size the sides keep apart and only the compared key bits decide: those above the bucket's and bit 16, and
// the high word.
TEST(TransTable, EachSizeTellsPositionsApartByTheSideAndTheKeyBitsAboveTheBucket) {
  Position pos;
  DefaultTableAfter restore;
  constexpr u64 LAST = 0xfedcba98ffffffffull;  // in the last bucket of each half
  for (u32 megabytes : {1u, DEFAULT_HASH_MB, 64u}) {
    ASSERT_TRUE(ResizeTransTable(megabytes));
    const int bucketBits = std::countr_zero(TransBucketsPerSide());
    EXPECT_EQ(TransBucketOf(LAST, WHITE), TransTable[2 * TransBucketsPerSide() - 1]);
    for (u64 key : {ALPHA, LAST}) {
      At(pos, key, WHITE);
      StoreTransTable(pos, E2E4, 20, 4, BOUND_EXACT);
      EXPECT_EQ(Found(pos, key, BLACK), "miss");
      At(pos, key, BLACK);
      StoreTransTable(pos, MakeMoveCode(D7, D5, KIND_QUIET), -15, 6, BOUND_LOWER);
      EXPECT_EQ(Found(pos, key, WHITE) + Found(pos, key, BLACK), "e2e4d7d5") << megabytes;
    }
    // One bucket's three slots hold keys that differ only in compared bits.
    const int lowestCompared = std::max(bucketBits, 16);
    At(pos, LAST ^ (1ull << lowestCompared));
    StoreTransTable(pos, QuietMove("g1f3"), 0, 4, BOUND_EXACT);
    At(pos, LAST ^ (1ull << 40));
    StoreTransTable(pos, QuietMove("b1c3"), 0, 4, BOUND_EXACT);
    EXPECT_EQ(Found(pos, LAST) + Found(pos, LAST ^ (1ull << lowestCompared)) + Found(pos, LAST ^ (1ull << 40)),
              "e2e4g1f3b1c3");
    for (int changed : {40, 31, lowestCompared, bucketBits - 1, 0}) {  // the high word, the low word, another bucket
      EXPECT_EQ(Found(pos, ALPHA ^ (1ull << changed)), "miss") << megabytes << " MB, bit " << changed;
    }
  }
}

// The slots of ALPHA's bucket (white half): the letter of each key and its move.
static std::string Slots() {
  std::string slots;
  for (int i = 0; i < TRANS_SLOTS; ++i) {
    const TransEntry& slot = TransBucketOf(ALPHA, WHITE)[i];
    auto key = std::find_if(std::begin(KEYS), std::end(KEYS), [&slot](u64 k) { return k >> 32 == EntryKeyHigh(slot); });
    slots.append(i ? " " : "");
    slots.append(key == std::end(KEYS) ? "." : static_cast<char>('A' + (key - KEYS)) + MoveText(EntryMove(slot)));
  }
  return slots;
}

TEST(TransTable, ReplacementKeepsWhatIsWorthMore) {
  Position pos;
  // Stores in turn: the key's letter, the move, the game move, depth and bound; then the slots.
  struct Store { char key; const char* move; u16 moveCount; int depth; u32 bound; const char* slots; };
  const std::vector<std::vector<Store>> scenarios = {
      // The same position is only deepened or given a tighter bound (exact, lower, upper), in place.
      {{'A', "e2e4", 1, 5, BOUND_UPPER, "Ae2e4 . ."}, {'A', "g1f3", 1, 5, BOUND_EXACT, "Ag1f3 . ."},
       {'A', "d7d5", 1, 5, BOUND_LOWER, "Ag1f3 . ."}, {'A', "d7d5", 1, 4, BOUND_EXACT, "Ag1f3 . ."},
       {'A', "b1c3", 1, 6, BOUND_UPPER, "Ab1c3 . ."}, {'A', "e2e4", 1, 6, BOUND_LOWER, "Ae2e4 . ."},
       {'A', "g1f3", 1, 6, BOUND_EXACT, "Ag1f3 . ."}},
      // Another position takes a slot worth less (age plus depth), or else the third.
      {{'A', "e2e4", 1, 5, BOUND_EXACT, "Ae2e4 . ."}, {'B', "g1f3", 1, 3, BOUND_EXACT, "Ae2e4 Bg1f3 ."},
       {'C', "d7d5", 1, 2, BOUND_EXACT, "Ae2e4 Bg1f3 Cd7d5"}, {'D', "b1c3", 1, 1, BOUND_EXACT, "Ae2e4 Bg1f3 Db1c3"},
       {'E', "e2e3", 1, 6, BOUND_EXACT, "Ee2e3 Ae2e4 Db1c3"}},  // slot 0 moves down over slot 1
      // Equal worth: the weaker bound gives way.
      {{'A', "e2e4", 1, 4, BOUND_EXACT, "Ae2e4 . ."}, {'B', "g1f3", 1, 4, BOUND_UPPER, "Ae2e4 Bg1f3 ."},
       {'C', "d7d5", 1, 4, BOUND_EXACT, "Ae2e4 Cd7d5 ."}},
      // Older entries are worth less, counted across the wrap of the age at 512.
      {{'A', "e2e4", 10, 5, BOUND_EXACT, "Ae2e4 . ."}, {'B', "g1f3", 13, 2, BOUND_EXACT, "Ae2e4 Bg1f3 ."},
       {'C', "d7d5", 14, 2, BOUND_EXACT, "Cd7d5 Ae2e4 ."}},
      {{'A', "e2e4", 510, 10, BOUND_EXACT, "Ae2e4 . ."}, {'B', "g1f3", 514, 7, BOUND_EXACT, "Bg1f3 Ae2e4 ."}},
  };
  for (const std::vector<Store>& scenario : scenarios) {
    ClearTransTable();
    for (const Store& s : scenario) {
      At(pos, KEYS[s.key - 'A'], WHITE, s.moveCount);
      StoreTransTable(pos, QuietMove(s.move), 0, s.depth, s.bound);
      EXPECT_EQ(Slots(), s.slots) << s.key << s.move << " at game move " << s.moveCount;
    }
  }
}

// Mate scores go into the table counted from the node and come back counted from the root of whoever reads them;
// other scores, the king's capture among them, are stored as they are.
TEST(TransTable, MateScoresAreKeptRelativeToTheirNode) {
  Position pos;
  const struct { i16 score; int ply; i16 stored; } cases[] = {
      {8097, 0, 8097}, {8097, 2, 8099}, {-8096, 4, -8100}, {-8093, 3, -8096}, {8051, 10, 8061},
      {8050, 10, 8050}, {-8050, 7, -8050}, {120, 30, 120}, {0, 5, 0}, {8190, 9, 8190}, {-8190, 9, -8190},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScoreIntoTable(c.score, c.ply), c.stored) << c.score << " at ply " << c.ply;
    EXPECT_EQ(ScoreOutOfTable(c.stored, c.ply), c.score) << c.score << " at ply " << c.ply;
  }
  // Stored at ply 5, read at ply 1: a mate four plies below the node is still four plies below it.
  ClearTransTable();
  At(pos, ALPHA);
  pos.UndoTop = pos.UndoRecords + 5;
  StoreTransTable(pos, E2E4, 8091, 6, BOUND_EXACT);
  pos.UndoTop = pos.UndoRecords + 1;
  const auto searcher = std::make_unique<Searcher>();
  PlyRecord& node = PlyRecordOf(*searcher, pos);
  ASSERT_TRUE(ProbeIntoRecord(pos, node));
  EXPECT_EQ(node.ttScore, 8095);
  pos.UndoTop = pos.UndoRecords;
}

static std::string Pv(Position& pos, int plies) {
  const auto before = std::tuple(TakePositionSnapshot(pos), pos.UndoTop);
  char text[PV_TEXT_SIZE];
  PvToText(pos, text, plies);
  EXPECT_EQ(std::tuple(TakePositionSnapshot(pos), pos.UndoTop), before);
  return text;
}

// Stores each move of text as the table's move of the position it is played from.
static void StoreLine(Position& pos, const char* text) {
  Line line(pos);
  std::istringstream words(text);
  for (std::string move; words >> move;) {
    StoreTransTable(pos, LegalMoveNamed(pos, move), 0, 4, BOUND_EXACT);
    line.Play(move);
  }
}

static std::string PvStartingWith(Position& pos, const char* move) {
  char text[PV_TEXT_SIZE];
  PvToText(pos, text, PV_MAX_MOVES, LegalMoveNamed(pos, move));
  return text;
}

TEST(PvText, FollowsTheTableForTwelveMovesAtMostWithinTheRecordsUpToAResultOrAMisfit) {
  Position pos;
  Load(pos, INITIAL_POSITION);
  pos.UndoTop = pos.UndoRecords;
  StoreLine(pos, "a2a3 a7a6 b2b3 b7b6 c2c3 c7c6 d2d3 d7d6 e2e3 e7e6 f2f3 f7f6 g2g3 g7g6");
  const std::string twelve = "a2a3 a7a6 b2b3 b7b6 c2c3 c7c6 d2d3 d7d6 e2e3 e7e6 f2f3 f7f6 ";
  EXPECT_EQ(std::tuple(Pv(pos, 3), Pv(pos, 0), Pv(pos, 12), Pv(pos, 40)),
            std::tuple("a2a3 a7a6 b2b3 ", "", twelve, twelve));
  pos.UndoTop = pos.UndoRecords + PLY_RECORDS - 3;
  EXPECT_EQ(Pv(pos, 12), "a2a3 a7a6 b2b3 ");
  pos.UndoTop = pos.UndoRecords;
  // The move the search chose stands first, whatever the table holds for the position; the table goes on after it.
  EXPECT_EQ(PvStartingWith(pos, "b2b3"), "b2b3 NOE ");
  StoreLine(pos, "b2b3 a7a6");  // the start position's entry keeps a2a3; the position after b2b3 gets a7a6
  EXPECT_EQ(std::tuple(PvStartingWith(pos, "b2b3"), Pv(pos, 1)), std::tuple("b2b3 a7a6 NOE ", "a2a3 "));
  EXPECT_EQ(PvStartingWith(pos, "h2h5"), twelve);  // no move of the position: the table's line

  Load(pos, INITIAL_POSITION);
  StoreLine(pos, "g1f3 g8f6 f3g1 f6g8");  // both knights out and back: the third start position draws
  EXPECT_EQ(Pv(pos, 12), "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 1/2 - 1/2 (repetition)");
  Load(pos, "8/8/8/4k3/8/8/8/R3K3 w - - 98 80");
  StoreLine(pos, "a1a2 e5e4 a2a3");  // the second move reaches the hundredth half-move
  EXPECT_EQ(Pv(pos, 12), "a1a2 e5e4 1/2 - 1/2 (50 moves)");
  pos.UndoTop = pos.UndoRecords;
  // The table's entry for the start position, and the line read from it: no pawn moves three squares, nothing to
  // capture, the other side's move and a blocked castling do not fit.
  const std::pair<Move, const char*> cases[] = {
      {GAME_MATED, "# "}, {GAME_STALEMATE, "1/2 - 1/2 (stalemate)"}, {GAME_REPETITION, "1/2 - 1/2 (repetition)"},
      {MOVE_NULL, "NULL"}, {GAME_FIFTY_MOVES, "ERROR: 3186"}, {NO_MOVE, "ERROR: 0"},  // a quiescence entry
      {MakeMoveCode(E2, E5, KIND_QUIET), "NOE "}, {MakeMoveCode(E2, E3, KIND_CAPTURE), "NOE "},
      {MakeMoveCode(E7, E5, KIND_QUIET), "NOE "}, {WHITE_SHORT_CASTLE, "NOE "},
  };
  for (auto [stored, line] : cases) {
    Load(pos, INITIAL_POSITION);
    StoreTransTable(pos, stored, 0, 3, BOUND_EXACT);
    EXPECT_EQ(Pv(pos, 12), line) << stored;
  }
  Load(pos, "4k3/8/8/8/8/8/3r4/4K3 w - -");
  StoreTransTable(pos, MakeMoveCode(E1, D1, KIND_QUIET), 0, 3, BOUND_EXACT);  // into the rook's file
  EXPECT_EQ(Pv(pos, 12), "NOE ");
  StoreTransTable(pos, MakeMoveCode(E1, D2, KIND_CAPTURE), 0, 4, BOUND_EXACT);
  EXPECT_EQ(Pv(pos, 12), "e1d2 NOE ");
}
