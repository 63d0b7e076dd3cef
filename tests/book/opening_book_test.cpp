// Opening book files written byte by byte here, opened and searched; and the
// files that must be refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "book/opening_book.h"
#include "book_test_files.h"
#include "support/engine_process.h"

namespace {

bool Contains(OpeningBook& book, int side, u64 key) {
  return book.BookContains(side, static_cast<u32>(key), static_cast<u32>(key >> 32));
}

class BookFiles : public ::testing::Test {
 protected:
  BookFiles() : here_(dir_.Path()), book_(std::make_unique<OpeningBook>()) {}
  TempDir dir_;
  WorkingDirectory here_;
  std::unique_ptr<OpeningBook> book_;
};

TEST_F(BookFiles, FindsEveryKeyOfBothSidesAndNoOther) {
  std::mt19937_64 random(77);
  std::vector<u64> keys[2];
  for (int side : {0, 1}) {
    for (int i = 0; i < 3000; ++i) keys[side].push_back(random() & (side ? ~0ull : 0x0000FFFFFFFFFFFFull));
    WriteBook(BOOK_NAMES[side], keys[side]);
  }
  ASSERT_TRUE(book_->OpenBook()) << book_->Message().Text();
  for (int side : {0, 1}) {
    EXPECT_EQ(book_->RecordCount(side), 3000u);
    std::shuffle(keys[side].begin(), keys[side].end(), random);
    std::set<u64> held(keys[side].begin(), keys[side].end());
    for (u64 key : keys[side]) {
      ASSERT_TRUE(Contains(*book_, side, key)) << std::hex << key;
      if (!held.count(key ^ 1)) {
        EXPECT_FALSE(Contains(*book_, side, key ^ 1)) << std::hex << (key ^ 1);
      }
      if (!held.count(key ^ (1ull << 63))) {
        EXPECT_FALSE(Contains(*book_, side, key ^ (1ull << 63))) << std::hex << (key ^ (1ull << 63));
      }
    }
  }
}

TEST_F(BookFiles, KeysDifferingOnlyInTheirBucketAreToldApart) {
  const u64 low47 = 0x00001234ABCD5678ull;
  const u64 first = low47 | (0x1ull << 47);
  const u64 second = low47 | (0x1F00Dull << 47);
  const u64 absent = low47 | (0x0ABCull << 47);
  WriteBook("bookbtm", {first, second, 7});
  WriteBook("bookwtm", {absent + 1});  // another bucket that holds a record
  ASSERT_TRUE(book_->OpenBook());
  // Each lookup follows one that left the same low 47 bits as the record read last.
  EXPECT_TRUE(Contains(*book_, 0, first));
  EXPECT_TRUE(Contains(*book_, 0, second));
  EXPECT_FALSE(Contains(*book_, 0, absent));
  EXPECT_TRUE(Contains(*book_, 0, first));
  EXPECT_FALSE(Contains(*book_, 0, low47));  // bucket 0 holds key 7 only
  EXPECT_TRUE(Contains(*book_, 0, 7));
  EXPECT_FALSE(Contains(*book_, 1, first));
  EXPECT_TRUE(Contains(*book_, 1, absent + 1));
}

TEST_F(BookFiles, ARecordFileOfNothingOpensAndHoldsNothing) {
  WriteBook("bookbtm", {});
  WriteBook("bookwtm", {});
  ASSERT_TRUE(book_->OpenBook());
  for (int side : {0, 1}) {
    EXPECT_EQ(book_->RecordCount(side), 0u);
    EXPECT_FALSE(Contains(*book_, side, 0));
    EXPECT_FALSE(Contains(*book_, side, 0x8000000000000000ull));
  }
}

TEST_F(BookFiles, AClosedBookHoldsNothingNotEvenKeyZero) {
  for (int side : {0, 1}) {
    EXPECT_FALSE(Contains(*book_, side, 0));
    EXPECT_EQ(book_->RecordCount(side), 0u);
  }
  EXPECT_FALSE(Contains(*book_, 2, 0));
  EXPECT_FALSE(Contains(*book_, -1, 0));
}

TEST_F(BookFiles, AnIndexThatCountsFewerRecordsThanTheFileHoldsStillOpens) {
  std::vector<u64> keys = {3, 9, 0x7000000000000000ull};
  WriteTextFile("bookbtm.mbx", BookIndexBytes(BookIndexOf(keys)));
  WriteTextFile("bookbtm.mbk", BookRecordBytes(keys) + BookRecordBytes({1, 2}));  // left from a larger book
  ASSERT_TRUE(book_->OpenSide(0, "bookbtm")) << book_->Message().Text();
  for (u64 key : keys) EXPECT_TRUE(Contains(*book_, 0, key));
  EXPECT_FALSE(Contains(*book_, 0, 1));
}

// Each broken pair is refused with its message, and leaves the side closed.
struct Refusal {
  const char* what;
  std::string index;
  std::string records;  // "<none>": no file
  std::string message;
};

TEST_F(BookFiles, BrokenFilesAreRefused) {
  const std::vector<u64> keys = {5, 6, 0x4000000000000000ull};
  const std::string index = BookIndexBytes(BookIndexOf(keys));
  const std::string records = BookRecordBytes(keys);
  std::vector<u32> decreasing = BookIndexOf(keys);
  decreasing[70000] = 2;
  std::vector<u32> pastTheEnd = BookIndexOf(keys);
  pastTheEnd[BUCKET_COUNT - 1] = 4;
  const Refusal refusals[] = {
      {"index short by a byte", index.substr(1), records, "Wrong file format 'bookbtm.mbx'.\n"},
      {"index long by a byte", index + "x", records, "Wrong file format 'bookbtm.mbx'.\n"},
      {"empty index", "", records, "Wrong file format 'bookbtm.mbx'.\n"},
      {"counts that decrease", BookIndexBytes(decreasing), records, "Wrong file format 'bookbtm.mbx'.\n"},
      {"no record file", index, "<none>", "Cannot open file: 'bookbtm.mbk'\n"},
      {"a piece of a record", index, records + "abc", "Wrong file format 'bookbtm.mbk'.\n"},
      {"records the file lacks", BookIndexBytes(pastTheEnd), records, "Wrong file format 'bookbtm.mbk'.\n"},
      {"records the file lacks", index, records.substr(6), "Wrong file format 'bookbtm.mbk'.\n"},
  };
  for (const Refusal& refusal : refusals) {
    std::filesystem::remove("bookbtm.mbk");
    WriteTextFile("bookbtm.mbx", refusal.index);
    if (refusal.records != "<none>") WriteTextFile("bookbtm.mbk", refusal.records);
    WriteBook("bookwtm", keys);
    auto book = std::make_unique<OpeningBook>();
    EXPECT_FALSE(book->OpenBook()) << refusal.what;
    EXPECT_EQ(std::string(book->Message().Text()), refusal.message) << refusal.what;
    for (u64 key : keys) EXPECT_FALSE(Contains(*book, 0, key)) << refusal.what;
    EXPECT_EQ(book->RecordCount(0), 0u);
    EXPECT_EQ(book->RecordCount(1), 0u) << "the second side is not opened after a failure";
    EXPECT_FALSE(Contains(*book, 1, 5));
  }
}

TEST_F(BookFiles, MissingFilesAreNamedInTheMessage) {
  EXPECT_FALSE(book_->OpenBook());
  EXPECT_STREQ(book_->Message().Text(), "Cannot load file: 'bookbtm.mbx'\n");

  WriteBook("bookbtm", {11});
  EXPECT_FALSE(book_->OpenBook());
  EXPECT_STREQ(book_->Message().Text(), "Cannot load file: 'bookwtm.mbx'\n");
  EXPECT_TRUE(Contains(*book_, 0, 11));  // the first side stays open
}

TEST_F(BookFiles, ReopeningASideThatNowFailsEmptiesIt) {
  WriteBook("bookbtm", {11, 12});
  ASSERT_TRUE(book_->OpenSide(0, "bookbtm"));
  EXPECT_TRUE(Contains(*book_, 0, 12));
  WriteTextFile("bookbtm.mbk", "1234567");
  EXPECT_FALSE(book_->OpenSide(0, "bookbtm"));
  EXPECT_FALSE(Contains(*book_, 0, 12));
  EXPECT_FALSE(Contains(*book_, 0, 11));
}

}  // namespace
