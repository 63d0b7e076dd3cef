// Which database records enter which book, and the files the builder writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "book/book_builder.h"
#include "book_test_files.h"
#include "support/engine_process.h"

namespace {

struct Fate {
  int side;
  u32 whiteWins, blackWins, draws;
  int ply;
  bool taken;
};

TEST(BookRule, WhiteBookWantsFiftyThreePercentAndBlackBookAtMostFiftyTwo) {
  const Fate fates[] = {
      {BOOK_BLACK_TO_MOVE, 53, 47, 0, 20, true},   // 0.53
      {BOOK_BLACK_TO_MOVE, 52, 48, 0, 20, false},  // 0.52
      {BOOK_BLACK_TO_MOVE, 1, 1, 0, 0, false},
      {BOOK_BLACK_TO_MOVE, 1, 0, 1, 60, true},  // 0.75
      {BOOK_BLACK_TO_MOVE, 1, 0, 1, 61, false},
      {BOOK_BLACK_TO_MOVE, 0, 0, 0, 1, false},  // no game at all
      {BOOK_WHITE_TO_MOVE, 54, 46, 0, 11, true},  // 0.54, early
      {BOOK_WHITE_TO_MOVE, 54, 46, 0, 12, false},
      {BOOK_WHITE_TO_MOVE, 11, 9, 0, 11, true},  // 0.55, early
      {BOOK_WHITE_TO_MOVE, 11, 9, 0, 0, true},
      {BOOK_WHITE_TO_MOVE, 11, 9, 0, 12, false},
      {BOOK_WHITE_TO_MOVE, 14, 11, 0, 12, false},  // 0.56
      {BOOK_WHITE_TO_MOVE, 14, 11, 0, 1, false},
      {BOOK_WHITE_TO_MOVE, 13, 12, 0, 60, true},  // 0.52
      {BOOK_WHITE_TO_MOVE, 0, 3, 0, 60, true},
      {BOOK_WHITE_TO_MOVE, 0, 3, 0, 61, false},
      {BOOK_WHITE_TO_MOVE, 0, 0, 4, 127, false},
      {BOOK_WHITE_TO_MOVE, 0, 0, 0, 1, false},
  };
  for (const Fate& fate : fates) {
    PositionRecord record = MakeRecord(1, fate.whiteWins, fate.blackWins, fate.draws, fate.ply);
    EXPECT_EQ(BookTakesRecord(fate.side, record), fate.taken)
        << "side " << fate.side << ": " << fate.whiteWins << "/" << fate.blackWins << "/" << fate.draws
        << " ply " << fate.ply;
  }
}

// A database of eleven records in key order, each with its fate in the two
// books worked out by hand.
struct Entry {
  u64 key;
  u32 whiteWins, blackWins, draws;
  int ply;
  bool inWhiteBook;  // "bookbtm": white steers into it
  bool inBlackBook;  // "bookwtm": black steers into it
};

const Entry ENTRIES[] = {
    {0x0000000000000001ull, 3, 1, 0, 5, true, false},    // 0.75
    {0x0000000000000002ull, 1, 1, 0, 5, false, true},    // 0.50
    {0x0000000100000000ull, 53, 47, 0, 20, true, false}, // 0.53, late
    {0x0000800000000005ull, 1, 0, 1, 61, false, false},  // too late
    {0x0000800000000007ull, 2, 0, 0, 60, true, false},
    {0x123456789ABCDEF0ull, 0, 0, 0, 1, false, false},   // no games
    {0x4000000000000000ull, 11, 9, 0, 12, true, false},  // 0.55, late
    {0x4000000000000001ull, 13, 12, 0, 50, false, true}, // 0.52
    {0x8000000000000001ull, 1, 0, 0, 1, true, false},    // the first key but for the top bit
    {0xFFFFFFFFFFFFFFFEull, 54, 46, 0, 11, true, true},  // 0.54, early
    {0xFFFFFFFFFFFFFFFFull, 0, 0, 7, 30, false, true},   // 0.50
};

std::vector<PositionRecord> EntryRecords() {
  std::vector<PositionRecord> records;
  for (const Entry& e : ENTRIES) records.push_back(MakeRecord(e.key, e.whiteWins, e.blackWins, e.draws, e.ply));
  return records;
}

struct BuiltSide {
  bool built;
  std::string output;
  std::string message;
  std::string index;    // the ".mbx" file
  std::string records;  // the ".mbk" file
};

// Builds one side in dir from a database file holding records.
BuiltSide BuildFrom(const TempDir& dir, const std::vector<PositionRecord>& records, int side,
                    const char* baseName) {
  WorkingDirectory here(dir.Path());
  WriteDatabase(side == BOOK_WHITE_TO_MOVE ? "white.db" : "black.db", records);
  PositionDatabase databases;
  EXPECT_TRUE(databases.OpenDatabases("white.db", "black.db"));
  auto book = std::make_unique<OpeningBook>();
  BuiltSide built;
  built.output = CaptureOutput(
      [&] { built.built = BuildBookSide(*book, baseName, databases.File(side), side, databases.Message()); });
  built.message = databases.Message().Text();
  built.index = ReadFile(dir.File(BookFileName(baseName, ".mbx")));
  built.records = ReadFile(dir.File(BookFileName(baseName, ".mbk")));
  return built;
}

TEST(BookBuild, WhiteBookHoldsTheRecordsWorkedOutByHand) {
  TempDir dir;
  BuiltSide built = BuildFrom(dir, EntryRecords(), BOOK_BLACK_TO_MOVE, "bookbtm");
  ASSERT_TRUE(built.built) << built.message;
  EXPECT_EQ(built.output, "bookbtm: 0.543726\n");  // (139 + 8/2) / (139 + 116 + 8)

  std::string expected;
  for (const Entry& e : ENTRIES) {
    if (e.inWhiteBook) expected += BookRecordBytes({e.key});
  }
  EXPECT_EQ(built.records, expected);

  // Buckets: 0 holds two records, 1 one, 32768 one, 65536 one, 131071 one.
  ASSERT_EQ(built.index.size(), BOOK_INDEX_SIZE);
  struct Span {
    u32 from, to, count;
  };
  for (Span span : {Span{0, 0, 2}, Span{1, 32767, 3}, Span{32768, 65535, 4}, Span{65536, 131070, 5},
                    Span{131071, 131071, 6}}) {
    for (u32 bucket = span.from; bucket <= span.to; ++bucket) {
      ASSERT_EQ(BookIndexEntry(built.index, bucket), span.count) << bucket;
    }
  }
}

TEST(BookBuild, BlackBookHoldsTheRecordsWorkedOutByHand) {
  TempDir dir;
  BuiltSide built = BuildFrom(dir, EntryRecords(), BOOK_WHITE_TO_MOVE, "bookwtm");
  ASSERT_TRUE(built.built) << built.message;
  EXPECT_EQ(built.output, "bookwtm: 0.543726\n");
  std::string expected;
  for (const Entry& e : ENTRIES) {
    if (e.inBlackBook) expected += BookRecordBytes({e.key});
  }
  EXPECT_EQ(built.records, expected);
  EXPECT_EQ(BookIndexEntry(built.index, 0), 1u);
  EXPECT_EQ(BookIndexEntry(built.index, 32767), 1u);
  EXPECT_EQ(BookIndexEntry(built.index, 32768), 2u);
  EXPECT_EQ(BookIndexEntry(built.index, 131070), 2u);
  EXPECT_EQ(BookIndexEntry(built.index, 131071), 4u);

  // The book built answers for exactly the records taken.
  WorkingDirectory here(dir.Path());
  auto book = std::make_unique<OpeningBook>();
  ASSERT_TRUE(book->OpenSide(BOOK_WHITE_TO_MOVE, "bookwtm")) << book->Message().Text();
  EXPECT_EQ(book->RecordCount(BOOK_WHITE_TO_MOVE), 4u);
  for (const Entry& e : ENTRIES) {
    EXPECT_EQ(book->BookContains(BOOK_WHITE_TO_MOVE, u32(e.key), u32(e.key >> 32)), e.inBlackBook)
        << std::hex << e.key;
  }
}

TEST(BookBuild, AnEmptyDatabaseGivesAnEmptyBook) {
  TempDir dir;
  BuiltSide built = BuildFrom(dir, {}, BOOK_BLACK_TO_MOVE, "bookbtm");
  ASSERT_TRUE(built.built);
  EXPECT_EQ(built.output, "bookbtm: 0.000000\n");
  EXPECT_EQ(built.index, std::string(BOOK_INDEX_SIZE, '\0'));
  EXPECT_EQ(built.records, "");
}

TEST(BookBuild, ARebuildLeavesNoOldRecordsBehind) {
  TempDir dir;
  WriteTextFile(dir.File("bookbtm.mbk"), std::string(600, 'x'));
  WriteTextFile(dir.File("bookbtm.mbx"), std::string(BOOK_INDEX_SIZE + 10, 'x'));
  BuiltSide built = BuildFrom(dir, {MakeRecord(9, 1, 0, 0, 1)}, BOOK_BLACK_TO_MOVE, "bookbtm");
  ASSERT_TRUE(built.built);
  EXPECT_EQ(built.records, BookRecordBytes({9}));
  EXPECT_EQ(built.index.size(), BOOK_INDEX_SIZE);
}

TEST(BookBuild, ADatabaseOutOfOrderIsRefused) {
  TempDir dir;
  BuiltSide built = BuildFrom(dir, {MakeRecord(5, 1, 0, 0, 1), MakeRecord(3, 1, 0, 0, 1)}, BOOK_BLACK_TO_MOVE,
                              "bookbtm");
  EXPECT_FALSE(built.built);
  EXPECT_EQ(built.message, "Wrong file format 'black.db'.\n");
  EXPECT_EQ(built.output, "");
  EXPECT_NE(built.index.size(), BOOK_INDEX_SIZE);  // the book left behind will not open
}

TEST(BookBuild, BaseNamesAreCutToTwentyCharacters) {
  TempDir dir;
  BuiltSide built = BuildFrom(dir, {}, BOOK_BLACK_TO_MOVE, "abcdefghijklmnopqrstuvwxyz");
  ASSERT_TRUE(built.built);
  EXPECT_TRUE(std::filesystem::exists(dir.File("abcdefghijklmnopqrst.mbx")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("abcdefghijklmnopqrst.mbk")));
  EXPECT_EQ(built.output, "abcdefghijklmnopqrstuvwxyz: 0.000000\n");
}

TEST(CreateBooks, ASideThatFailsIsReportedAndTheOtherIsBuilt) {
  TempDir dir;
  WorkingDirectory here(dir.Path());
  WriteDatabase("white.db", {MakeRecord(7, 0, 1, 1, 4, true)});
  std::filesystem::create_directory("bookbtm.mbx");  // cannot be written as a file
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases("white.db", "black.db"));
  std::string output = CaptureOutput([&] { CreateBooks(databases); });
  EXPECT_EQ(output,
            "Generating bookbtm...\n"
            "Cannot create index file: 'bookbtm.mbx'\n"
            "Generating bookwtm...\n"
            "bookwtm: 0.250000\n");
  EXPECT_EQ(ReadFile("bookwtm.mbk"), BookRecordBytes({7}));
}

}  // namespace
