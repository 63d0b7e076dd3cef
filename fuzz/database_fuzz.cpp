// Database files from anywhere: the input's first byte says where the black
// file ends and the white one begins. Whatever is found is what was asked; in
// a file with keys strictly ascending both searches find every key, and the
// book built from it holds exactly the records the book takes.
#include <algorithm>
#include <memory>
#include <vector>

#include "book/book_builder.h"
#include "book/byte_order.h"
#include "book/opening_book.h"
#include "book/position_database.h"
#include "fuzz_support.h"

namespace {

constexpr const char* DATABASE_NAMES[2] = {"fuzz_black.db", "fuzz_white.db"};  // by side
constexpr const char* BOOK_BASE_NAMES[2] = {"fuzzbtm", "fuzzwtm"};

std::vector<PositionRecord> RecordsOf(DatabaseFile& file) {
  std::vector<PositionRecord> records;
  for (u64 number = 0; number < file.recordCount; ++number) {
    Require(file.ReadRecord(number), "a record of an open database read");
    records.push_back(file.lastRead);
  }
  return records;
}

void CheckSearches(PositionDatabase& databases, int side, const std::vector<PositionRecord>& records, bool sorted) {
  std::vector<u64> keys;
  for (const PositionRecord& record : records) {
    for (u64 key : {record.Key(), record.Key() + 1, record.Key() - 1}) keys.push_back(key);
  }
  for (u64 key : keys) {
    for (bool linear : {false, true}) {
      auto found = linear ? databases.FindRecordLinear(side, KeyLow(key), KeyHigh(key))
                          : databases.FindRecord(side, KeyLow(key), KeyHigh(key));
      Require(!found || found->Key() == key, "a record found has the key asked");
      bool inFile =
          std::any_of(records.begin(), records.end(), [key](const PositionRecord& r) { return r.Key() == key; });
      Require(!sorted || found.has_value() == inFile, "a sorted file answers for exactly its keys");
    }
  }
}

void CheckBook(PositionDatabase& databases, int side, const std::vector<PositionRecord>& records, bool sorted) {
  auto built = std::make_unique<OpeningBook>();
  MessageText message("OK");
  if (!BuildBookSide(*built, BOOK_BASE_NAMES[side], databases.File(side), side, message)) {
    Require(!sorted, "a sorted database makes a book");
    return;
  }
  Require(sorted, "only a sorted database makes a book");
  auto book = std::make_unique<OpeningBook>();
  Require(book->OpenSide(side, BOOK_BASE_NAMES[side]), "the book built opens");
  for (const PositionRecord& record : records) {
    Require(book->BookContains(side, record.keyLow, record.keyHigh) == BookTakesRecord(side, record),
            "the book holds exactly the records it takes");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t blackSize = std::min<size_t>(size - 1, size_t{data[0]} * POSITION_RECORD_SIZE / 4);
  WriteFile(DATABASE_NAMES[0], data + 1, blackSize);
  WriteFile(DATABASE_NAMES[1], data + 1 + blackSize, size - 1 - blackSize);
  PositionDatabase databases;
  if (!databases.OpenDatabases(DATABASE_NAMES[1], DATABASE_NAMES[0])) return 0;
  for (int side : {DATABASE_BLACK_TO_MOVE, DATABASE_WHITE_TO_MOVE}) {
    const std::vector<PositionRecord> records = RecordsOf(databases.File(side));
    bool sorted = true;
    for (size_t i = 1; i < records.size(); ++i) sorted &= records[i].Key() > records[i - 1].Key();
    CheckSearches(databases, side, records, sorted);
    CheckBook(databases, side, records, sorted);
  }
  return 0;
}
