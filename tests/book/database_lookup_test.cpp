// Opening database files and finding positions in them, by binary search and
// by scan, on files written record by record.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "book/byte_order.h"
#include "book/position_database.h"
#include "book_test_files.h"
#include "support/engine_process.h"

namespace {

std::vector<PositionRecord> RecordsWithKeys(const std::vector<u64>& keys) {
  std::vector<PositionRecord> records;
  u32 games = 1;
  for (u64 key : keys) records.push_back(MakeRecord(key, games++, 0, 0, 3));
  return records;
}

// Opens a white file with the given keys (wins counting 1, 2, 3 ... in file
// order) beside an empty black one.
struct WhiteFile {
  explicit WhiteFile(const std::vector<u64>& keys) {
    WriteDatabase(dir.File("w.db"), RecordsWithKeys(keys));
    opened = databases.OpenDatabases(dir.File("w.db").c_str(), dir.File("b.db").c_str());
  }
  std::optional<PositionRecord> Find(u64 key, bool linear = false) {
    return linear ? databases.FindRecordLinear(DATABASE_WHITE_TO_MOVE, KeyLow(key), KeyHigh(key))
                  : databases.FindRecord(DATABASE_WHITE_TO_MOVE, KeyLow(key), KeyHigh(key));
  }
  TempDir dir;
  PositionDatabase databases;
  bool opened;
};

TEST(DatabaseOpen, MissingFilesAreCreatedEmptyAndHoldNothing) {
  TempDir dir;
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases(dir.File("w.db").c_str(), dir.File("b.db").c_str()));
  EXPECT_STREQ(databases.Message().Text(), "OK");
  EXPECT_EQ(std::filesystem::file_size(dir.File("w.db")), 0u);
  EXPECT_EQ(std::filesystem::file_size(dir.File("b.db")), 0u);
  for (int side : {0, 1}) {
    EXPECT_FALSE(databases.FindRecord(side, 0, 0));  // not even the key of an empty record
    EXPECT_FALSE(databases.FindRecord(side, 5, 0x12345678));
    EXPECT_FALSE(databases.FindRecordLinear(side, 0, 0));
  }
  EXPECT_FALSE(databases.FindRecord(2, 0, 0));
}

TEST(DatabaseOpen, ACutFileIsRefused) {
  TempDir dir;
  WriteDatabase(dir.File("b.db"), RecordsWithKeys({1, 2}));
  WriteTextFile(dir.File("w.db"), ReadFile(dir.File("b.db")) + "12345");
  PositionDatabase databases;
  EXPECT_FALSE(databases.OpenDatabases(dir.File("w.db").c_str(), dir.File("b.db").c_str()));
  EXPECT_EQ(std::string(databases.Message().Text()), "Wrong file format '" + dir.File("w.db") + "'.\n");
  EXPECT_FALSE(databases.FindRecord(DATABASE_WHITE_TO_MOVE, 1, 0));
}

TEST(DatabaseOpen, BlackIsOpenedFirstAndAFailureStops) {
  TempDir dir;
  std::string missingFolder = dir.File("gone/b.db");
  PositionDatabase databases;
  EXPECT_FALSE(databases.OpenDatabases(dir.File("w.db").c_str(), missingFolder.c_str()));
  EXPECT_EQ(std::string(databases.Message().Text()), "Cannot open file: " + missingFolder + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("w.db")));
}

// Files of every small size, every key looked up in an order that leaves the
// record read last on either side of the next key.
TEST(DatabaseFind, FindsEveryKeyFromWhereverTheLastReadLeftOff) {
  for (size_t size = 1; size <= 9; ++size) {
    std::vector<u64> keys;
    for (size_t i = 0; i < size; ++i) keys.push_back(0x100000000ull * (3 * i + 2) + i);
    WhiteFile file(keys);
    ASSERT_TRUE(file.opened);
    std::vector<size_t> order;
    for (size_t i = 0; i < size; ++i) order.push_back(i % 2 ? size - 1 - i / 2 : i / 2);  // ends inwards
    for (int round = 0; round < 2; ++round) {
      for (size_t i : order) {
        auto found = file.Find(keys[i]);
        ASSERT_TRUE(found) << size << " " << i;
        EXPECT_EQ(found->whiteWins, i + 1);
        EXPECT_FALSE(file.Find(keys[i] + 1));
        EXPECT_FALSE(file.Find(keys[i] - 1));
      }
      std::reverse(order.begin(), order.end());
    }
    EXPECT_FALSE(file.Find(0));
    EXPECT_FALSE(file.Find(~0ull));
  }
}

TEST(DatabaseFind, KeysCompareAsUnsignedSixtyFourBitNumbers) {
  WhiteFile file({0x00000000FFFFFFFFull, 0x0000000100000000ull, 0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull,
                  0xFFFFFFFFFFFFFFFFull});
  ASSERT_TRUE(file.opened);
  EXPECT_EQ(file.Find(0x8000000000000000ull)->whiteWins, 4u);
  EXPECT_EQ(file.Find(0xFFFFFFFFFFFFFFFFull)->whiteWins, 5u);
  EXPECT_EQ(file.Find(0x00000000FFFFFFFFull)->whiteWins, 1u);
  EXPECT_EQ(file.Find(0x0000000100000000ull)->whiteWins, 2u);
  EXPECT_EQ(file.Find(0x8000000000000000ull, true)->whiteWins, 4u);
}

TEST(DatabaseFindLinear, ReportsEveryRecordOutOfOrder) {
  WhiteFile file({1, 5, 3, 7, 2, 2, 9});
  ASSERT_TRUE(file.opened);
  std::optional<PositionRecord> found;
  std::string output = CaptureOutput([&] { found = file.Find(9, true); });
  ASSERT_TRUE(found);
  EXPECT_EQ(found->whiteWins, 7u);
  EXPECT_EQ(output,
            "Sort ERROR: current: 3, prev: 5\n"
            "Sort ERROR: current: 2, prev: 7\n"
            "Sort ERROR: current: 2, prev: 2\n");

  // A key before the first disorder is found without a word.
  output = CaptureOutput([&] { found = file.Find(5, true); });
  ASSERT_TRUE(found);
  EXPECT_EQ(found->whiteWins, 2u);
  EXPECT_EQ(output, "");

  // The scan ends at the first record above the key.
  output = CaptureOutput([&] { found = file.Find(2, true); });
  EXPECT_FALSE(found);
  EXPECT_EQ(output, "");
}

TEST(DatabaseFindLinear, AFirstKeyOfZeroIsOutOfOrder) {
  WhiteFile file({0, 4});
  ASSERT_TRUE(file.opened);
  std::optional<PositionRecord> found;
  std::string output = CaptureOutput([&] { found = file.Find(4, true); });
  EXPECT_TRUE(found);
  EXPECT_EQ(output, "Sort ERROR: current: 0, prev: 0\n");
  EXPECT_EQ(file.Find(0)->whiteWins, 1u);
}

// Binary search in a file out of order may miss keys, but whatever it answers
// is the record of the key asked for, and it always ends.
TEST(DatabaseFind, AFileOutOfOrderNeverGivesAWrongRecord) {
  std::vector<u64> keys = {40, 10, 90, 20, 80, 30, 70, 50, 60, 100};
  WhiteFile file(keys);
  ASSERT_TRUE(file.opened);
  for (u64 key = 0; key <= 110; ++key) {
    auto found = file.Find(key);
    if (found) {
      EXPECT_EQ(found->Key(), key);
    }
  }
}

}  // namespace
