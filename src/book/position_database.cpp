#include "book/position_database.h"

#include <cinttypes>
#include <cstdio>

#include "book/byte_order.h"

namespace {

bool IsSide(int side) { return side == DATABASE_BLACK_TO_MOVE || side == DATABASE_WHITE_TO_MOVE; }

}  // namespace

void DatabaseFile::Reset(const char* fileName) {
  file.Close();
  name = fileName;
  lastRead = PositionRecord{};
  firstKey = lastKey = nextRecord = recordCount = 0;
}

bool DatabaseFile::ReadRecord(u64 number) {
  u8 bytes[POSITION_RECORD_SIZE];
  if (number >= recordCount || !file.Read(number, 1, POSITION_RECORD_SIZE, bytes)) return false;
  lastRead = DecodeRecord(bytes);
  nextRecord = number + 1;
  return true;
}

bool PositionDatabase::OpenFile(int side, const char* name) {
  DatabaseFile& db = files_[side];
  db.Reset(name);
  u64 size;
  if (!db.file.Open(name) || !db.file.Size(size)) {
    message_.Format("Cannot open file: %s\n", name);
    db.Reset(name);
    return false;
  }
  // A trailing piece of a record means the file was cut or is not a database.
  if (size % POSITION_RECORD_SIZE != 0) {
    message_.Format("Wrong file format '%s'.\n", name);
    db.Reset(name);
    return false;
  }
  db.recordCount = size / POSITION_RECORD_SIZE;
  if (db.recordCount == 0) return true;
  bool read = db.ReadRecord(0);
  db.firstKey = db.lastRead.Key();
  read = read && db.ReadRecord(db.recordCount - 1);
  db.lastKey = db.lastRead.Key();
  if (read && db.ReadRecord(db.recordCount / 2)) return true;
  message_.Format("Cannot open file: %s\n", name);
  db.Reset(name);
  return false;
}

bool PositionDatabase::OpenDatabases(const char* whiteName, const char* blackName) {
  return OpenFile(DATABASE_BLACK_TO_MOVE, blackName) && OpenFile(DATABASE_WHITE_TO_MOVE, whiteName);
}

std::optional<PositionRecord> PositionDatabase::FindRecord(int side, u32 low, u32 high) {
  if (!IsSide(side)) return std::nullopt;
  DatabaseFile& db = files_[side];
  u64 key = KeyOf(high, low);
  if (db.recordCount == 0 || key < db.firstKey || key > db.lastKey) return std::nullopt;
  if (db.nextRecord > 0 && key == db.lastRead.Key()) return db.lastRead;
  // Search on the side of the record read last where the key must lie.
  i64 lastReadNumber = static_cast<i64>(db.nextRecord) - 1;
  i64 lowest = 0;
  i64 highest = static_cast<i64>(db.recordCount) - 1;
  if (lastReadNumber >= 0) {
    if (key > db.lastRead.Key()) {
      lowest = lastReadNumber + 1;
    } else {
      highest = lastReadNumber - 1;
    }
  }
  while (lowest <= highest) {
    i64 middle = lowest + (highest - lowest) / 2;
    if (!db.ReadRecord(static_cast<u64>(middle))) return std::nullopt;
    u64 found = db.lastRead.Key();
    if (found == key) return db.lastRead;
    if (found < key) {
      lowest = middle + 1;
    } else {
      highest = middle - 1;
    }
  }
  return std::nullopt;
}

std::optional<PositionRecord> PositionDatabase::FindRecordLinear(int side, u32 low, u32 high) {
  if (!IsSide(side)) return std::nullopt;
  DatabaseFile& db = files_[side];
  u64 key = KeyOf(high, low);
  u64 previous = 0;
  for (u64 number = 0; number < db.recordCount; ++number) {
    if (!db.ReadRecord(number)) return std::nullopt;
    u64 current = db.lastRead.Key();
    if (current <= previous) {
      std::printf("Sort ERROR: current: %" PRIX64 ", prev: %" PRIX64 "\n", current, previous);
    }
    if (current == key) return db.lastRead;
    if (current > key) return std::nullopt;
    previous = current;
  }
  return std::nullopt;
}
