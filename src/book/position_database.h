// The position databases: one file per side to move of 54-byte position
// records sorted by key, counting game results per position. Each command
// works on a fresh object, which closes its files when it goes.
#pragma once

#include <optional>
#include <string>

#include "board/position.h"
#include "board/types.h"
#include "book/message_text.h"
#include "book/position_record.h"
#include "book/record_file.h"

// Database file indexes: the side to move of the positions it holds.
constexpr int DATABASE_BLACK_TO_MOVE = 0;
constexpr int DATABASE_WHITE_TO_MOVE = 1;

inline constexpr const char* WHITE_DATABASE_NAME = "white.db";
inline constexpr const char* BLACK_DATABASE_NAME = "black.db";

struct DatabaseFile {
  RecordFile file;
  std::string name;
  PositionRecord lastRead;  // the record read last
  u64 firstKey = 0;
  u64 lastKey = 0;
  u64 nextRecord = 0;       // number of the record after the one read last
  u64 recordCount = 0;

  // Closes the file and forgets everything read; name is kept for messages.
  void Reset(const char* fileName);

  // Reads record number into lastRead. A failed read leaves lastRead as it was.
  bool ReadRecord(u64 number);
};

class PositionDatabase {
 public:
  PositionDatabase() : message_("OK") {}

  // Opens the black file first, then the white one; stops at the first
  // failure. A missing file is a failure: opening never creates a file.
  bool OpenDatabases(const char* whiteName, const char* blackName);

  // The record of key (high, low) in the file of one side, by binary search.
  std::optional<PositionRecord> FindRecord(int side, u32 low, u32 high);

  // The same by a scan from the first record, printing a "Sort ERROR" line
  // for every record whose key is not above the one before it.
  std::optional<PositionRecord> FindRecordLinear(int side, u32 low, u32 high);

  // Builds both files from a position file sorted by key: black first.
  bool CreateDatabases(const char* positionFile, const char* whiteName, const char* blackName);

  // Builds one file from the lines of side 'W' or 'B'.
  bool CreateDatabaseSide(const char* positionFile, const char* outputName, char sideLetter);

  DatabaseFile& File(int side) { return files_[side]; }
  MessageText& Message() { return message_; }

 private:
  bool OpenFile(int side, const char* name);
  // Formats the message for an output file that cannot be opened; false.
  bool RefuseOutput(const char* outputName);

  MessageText message_;
  DatabaseFile files_[2];
};
