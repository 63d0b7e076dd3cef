// Position files from anywhere: each line is read and parsed on its own, then
// the whole file is built into databases as "dbcreate" builds them. A built
// database holds its keys strictly ascending, no more games than the lines of
// its side, and both searches find every key in it.
#include <memory>

#include "book/byte_order.h"
#include "book/position_database.h"
#include "book/position_line.h"
#include "book/file_handle.h"
#include "fuzz_support.h"

namespace {

constexpr const char* POSITION_FILE = "fuzz.pos";
constexpr const char* WHITE_FILE = "fuzz_white.db";
constexpr const char* BLACK_FILE = "fuzz_black.db";

void CheckDatabase(PositionDatabase& databases, int side, u64 linesOfSide) {
  DatabaseFile& file = databases.File(side);
  u64 games = 0, previous = 0;
  for (u64 number = 0; number < file.recordCount; ++number) {
    Require(file.ReadRecord(number), "a record of the database read");
    const PositionRecord record = file.lastRead;
    Require(number == 0 || record.Key() > previous, "keys strictly ascending");
    Require(record.WhiteToMove() == (side == DATABASE_WHITE_TO_MOVE), "a record of the file's side");
    previous = record.Key();
    games += u64{record.whiteWins} + record.blackWins + record.draws;
  }
  Require(games <= linesOfSide, "no more games than lines");
  for (u64 number = 0; number < file.recordCount; ++number) {
    Require(file.ReadRecord(number), "a record of the database read again");
    const u64 key = file.lastRead.Key();
    for (bool linear : {false, true}) {
      auto found = linear ? databases.FindRecordLinear(side, KeyLow(key), KeyHigh(key))
                          : databases.FindRecord(side, KeyLow(key), KeyHigh(key));
      Require(found && found->Key() == key, "every key of a database is found");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileHandle positions(FileOf(data, size));
  PositionLine line;
  PositionRecord record;
  u64 lines[2] = {};
  u64 bytes = 0;
  while (ReadPositionLine(positions.get(), line)) {
    bytes += line.bytesRead;
    Require(line.length <= MAX_POSITION_LINE + 1 && line.text[line.length] == '\0', "a line within its buffer");
    Require(PrintableLength(line) >= 0 && static_cast<size_t>(PrintableLength(line)) <= line.length,
            "the printable part of a line");
    if (line.length < MIN_POSITION_LINE || line.tooLong) continue;
    if (ParsePositionLine(line.text, line.length, record)) ++lines[record.WhiteToMove() ? 1 : 0];
  }
  Require(bytes == size, "every byte belongs to a line");

  WriteFile(POSITION_FILE, data, size);
  std::remove(WHITE_FILE);
  std::remove(BLACK_FILE);
  PositionDatabase built;
  if (!built.CreateDatabases(POSITION_FILE, WHITE_FILE, BLACK_FILE)) return 0;
  PositionDatabase databases;
  Require(databases.OpenDatabases(WHITE_FILE, BLACK_FILE), "the databases built open");
  CheckDatabase(databases, DATABASE_BLACK_TO_MOVE, lines[0]);
  CheckDatabase(databases, DATABASE_WHITE_TO_MOVE, lines[1]);
  return 0;
}
