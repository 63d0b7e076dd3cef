#include "book/book_builder.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "book/byte_order.h"
#include "book/file_handle.h"
#include "platform/same_file.h"

namespace {

// White's score a position needs for white to steer into it.
constexpr double WHITE_BOOK_MIN_SCORE = 0.53;
// White's score at which black steers into a position at any ply, and above
// which black never does.
constexpr double BLACK_BOOK_MAX_SCORE = 0.52;
constexpr double BLACK_BOOK_EARLY_MAX_SCORE = 0.55;
// Between the two, only positions seen by this ply.
constexpr int BLACK_BOOK_EARLY_PLY = 11;

static_assert(BOOK_BLACK_TO_MOVE == DATABASE_BLACK_TO_MOVE && BOOK_WHITE_TO_MOVE == DATABASE_WHITE_TO_MOVE,
              "a book side is built from the database of the same side to move");

constexpr u64 DATABASE_RECORDS_PER_READ = 1024;

struct Totals {
  double whiteWins = 0;
  double blackWins = 0;
  double draws = 0;
};

// Raises every entry to the one before it, so that a bucket without records
// ends where the bucket before it ends.
void FinishIndex(std::vector<u32>& index) {
  for (u32 bucket = 1; bucket < BUCKET_COUNT; ++bucket) {
    if (index[bucket] < index[bucket - 1]) index[bucket] = index[bucket - 1];
  }
}

bool WriteIndex(const std::vector<u32>& index, FileHandle file) {
  std::vector<u8> bytes(BOOK_INDEX_SIZE);
  for (u32 bucket = 0; bucket < BUCKET_COUNT; ++bucket) PutU32(&bytes[bucket * 4], index[bucket]);
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

// False, with the message for the file that cannot be created, when a file of
// the book side is one of the databases: writing it would destroy what is read.
bool SparesDatabases(const char* baseName, PositionDatabase& databases) {
  const struct {
    const char* extension;
    const char* failure;
  } outputs[] = {{".mbx", "Cannot create index file: '%s'\n"}, {".mbk", "Cannot create file: '%s'\n"}};
  for (const auto& output : outputs) {
    std::string name = BookFileName(baseName, output.extension);
    for (int side : {DATABASE_BLACK_TO_MOVE, DATABASE_WHITE_TO_MOVE}) {
      if (SameFile(name.c_str(), databases.File(side).name.c_str())) {
        databases.Message().Format(output.failure, name.c_str());
        return false;
      }
    }
  }
  return true;
}

void WriteBookRecord(const PositionRecord& record, std::FILE* file, bool& failed) {
  u8 bytes[BOOK_RECORD_SIZE];
  PutU32(bytes, record.keyLow);
  PutU16(bytes + 4, KeyRestOf(record.keyHigh));
  if (std::fwrite(bytes, sizeof bytes, 1, file) != 1) failed = true;
}

}  // namespace

bool BookTakesRecord(int side, const PositionRecord& record) {
  int ply = record.EarliestPly();
  if (ply > MAX_BOOK_PLY) return false;
  if (record.whiteWins == 0 && record.blackWins == 0 && record.draws == 0) return false;
  double score = WhiteScore(record.whiteWins, record.blackWins, record.draws);
  if (side == BOOK_BLACK_TO_MOVE) return score >= WHITE_BOOK_MIN_SCORE;
  if (score > BLACK_BOOK_EARLY_MAX_SCORE) return false;
  if (score <= BLACK_BOOK_MAX_SCORE) return true;
  return ply <= BLACK_BOOK_EARLY_PLY;
}

bool BuildBookSide(OpeningBook& book, const char* baseName, DatabaseFile& database, int side,
                   MessageText& message) {
  std::string indexName = BookFileName(baseName, ".mbx");
  std::string recordName = BookFileName(baseName, ".mbk");
  BookSide& built = book.Side(side);
  built.Close();
  FileHandle indexFile(std::fopen(indexName.c_str(), "wb"));
  if (!indexFile) {
    message.Format("Cannot create index file: '%s'\n", indexName.c_str());
    return false;
  }
  FileHandle recordFile(std::fopen(recordName.c_str(), "wb"));
  if (!recordFile) {
    message.Format("Cannot create file: '%s'\n", recordName.c_str());
    return false;
  }

  database.nextRecord = 0;
  Totals totals;
  u32 taken = 0;
  bool writeFailed = false;
  std::vector<u8> chunk(DATABASE_RECORDS_PER_READ * POSITION_RECORD_SIZE);
  for (u64 first = 0; first < database.recordCount; first += DATABASE_RECORDS_PER_READ) {
    u64 count = std::min(DATABASE_RECORDS_PER_READ, database.recordCount - first);
    if (!database.file.Read(first, count, POSITION_RECORD_SIZE, chunk.data())) break;
    database.nextRecord = first + count;
    for (u64 i = 0; i < count; ++i) {
      PositionRecord record = DecodeRecord(&chunk[i * POSITION_RECORD_SIZE]);
      // Records out of key order would leave keys where the index does not look.
      if ((first > 0 || i > 0) && record.Key() <= database.lastRead.Key()) {
        message.Format("Wrong file format '%s'.\n", database.name.c_str());
        return false;
      }
      database.lastRead = record;
      totals.whiteWins += record.whiteWins;
      totals.blackWins += record.blackWins;
      totals.draws += record.draws;
      if (!BookTakesRecord(side, record)) continue;
      WriteBookRecord(record, recordFile.get(), writeFailed);
      built.index[BucketOf(record.keyHigh)] = ++taken;
    }
  }
  if (std::fclose(recordFile.release()) != 0 || writeFailed) {
    message.Format("Writing records file error!\n");
    return false;
  }
  FinishIndex(built.index);
  if (!WriteIndex(built.index, std::move(indexFile))) {
    message.Format("Writing indexes file error!\n");
    return false;
  }
  std::printf("%s: %f\n", baseName, WhiteScore(totals.whiteWins, totals.blackWins, totals.draws));
  return true;
}

void CreateBooks(PositionDatabase& databases) {
  auto book = std::make_unique<OpeningBook>();
  for (int side : {BOOK_BLACK_TO_MOVE, BOOK_WHITE_TO_MOVE}) {
    std::printf("Generating %s...\n", BOOK_NAMES[side]);
    if (!SparesDatabases(BOOK_NAMES[side], databases) ||
        !BuildBookSide(*book, BOOK_NAMES[side], databases.File(side), side, databases.Message())) {
      std::printf("%s", databases.Message().Text());
    }
  }
}
