// Building a database file from a position file sorted by key: one streaming
// pass that merges the lines of each position into one record.
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "book/file_handle.h"
#include "book/position_database.h"
#include "book/position_line.h"
#include "platform/same_file.h"

namespace {

constexpr int FULL_PERCENT = 100;

// Merges the records of one side, arriving in key order, and writes each
// position once its last line has been seen.
class DatabaseWriter {
 public:
  DatabaseWriter(std::FILE* output, u64 inputSize) : output_(output), inputSize_(inputSize) {}

  void CountBytes(u64 bytes) { bytesProcessed_ += bytes; }

  // False when the record's key is below the pending one: the input is not sorted.
  bool Add(const PositionRecord& record) {
    if (!hasPending_) {
      pending_ = record;
      hasPending_ = true;
      return true;
    }
    if (record.Key() == pending_.Key()) {
      Merge(record);
      return true;
    }
    if (record.Key() < pending_.Key()) return false;
    WritePending();
    pending_ = record;
    ShowProgress();
    return true;
  }

  // Writes the pending record and closes the output; false when a write failed.
  bool Finish() {
    if (hasPending_) WritePending();
    hasPending_ = false;
    bool closed = std::fclose(output_) == 0;
    output_ = nullptr;
    return closed && !writeFailed_;
  }

 private:
  // A second position with the same key replaces the first, which is dropped.
  void Merge(const PositionRecord& record) {
    if (!SamePosition(record, pending_)) {
      pending_ = record;
      return;
    }
    pending_.whiteWins += record.whiteWins;
    pending_.blackWins += record.blackWins;
    pending_.draws += record.draws;
    if (record.EarliestPly() < pending_.EarliestPly()) {
      pending_.plyAndPassant = static_cast<u8>((pending_.plyAndPassant & ~PLY_MASK) | record.EarliestPly());
    }
  }

  void WritePending() {
    u8 bytes[POSITION_RECORD_SIZE];
    EncodeRecord(pending_, bytes);
    if (std::fwrite(bytes, sizeof bytes, 1, output_) != 1) writeFailed_ = true;
  }

  void ShowProgress() {
    if (inputSize_ == 0) return;
    u64 percent = bytesProcessed_ * FULL_PERCENT / inputSize_;
    if (percent > FULL_PERCENT) percent = FULL_PERCENT;  // the file grew while it was read
    if (static_cast<int>(percent) <= lastPercent_) return;
    lastPercent_ = static_cast<int>(percent);
    std::printf("\b\b\b\b%3d%%", lastPercent_);
    std::fflush(stdout);
  }

  std::FILE* output_;
  u64 inputSize_;
  u64 bytesProcessed_ = 0;
  int lastPercent_ = 0;
  bool hasPending_ = false;
  bool writeFailed_ = false;
  PositionRecord pending_;
};

}  // namespace

bool PositionDatabase::CreateDatabases(const char* positionFile, const char* whiteName,
                                       const char* blackName) {
  // Both outputs are looked at first: the black pass must not run when the
  // white one would be refused.
  for (const char* outputName : {blackName, whiteName}) {
    if (SameFile(outputName, positionFile)) return RefuseOutput(outputName);
  }
  return CreateDatabaseSide(positionFile, blackName, 'B') &&
         CreateDatabaseSide(positionFile, whiteName, 'W');
}

bool PositionDatabase::RefuseOutput(const char* outputName) {
  message_.Format("Cannot open file: %s\n", outputName);
  return false;
}

bool PositionDatabase::CreateDatabaseSide(const char* positionFile, const char* outputName,
                                          char sideLetter) {
  if (sideLetter != 'W' && sideLetter != 'B') {
    message_.Format("WRONG STM parameter: %c\n", sideLetter);
    return false;
  }
  struct stat status;
  if (stat(positionFile, &status) != 0) {
    message_.Format("Cannot open file statistics: %s\n", positionFile);
    return false;
  }
  // Emptying the output must never destroy the lines about to be read.
  if (SameFile(outputName, positionFile)) return RefuseOutput(outputName);
  FileHandle input(std::fopen(positionFile, "r"));
  if (!input) {
    message_.Format("Cannot open file: %s\n", positionFile);
    return false;
  }
  std::FILE* output = std::fopen(outputName, "wb");
  if (!output) return RefuseOutput(outputName);
  std::printf("creating new database '%s':  0%%", outputName);
  bool wantWhite = sideLetter == 'W';
  DatabaseWriter writer(output, static_cast<u64>(status.st_size));
  bool sorted = true;
  int lineCount = 0;
  PositionLine line;
  PositionRecord record;
  while (ReadPositionLine(input.get(), line)) {
    if (line.length < MIN_POSITION_LINE) continue;
    ++lineCount;
    writer.CountBytes(line.bytesRead);
    if (line.tooLong || !ParsePositionLine(line.text, line.length, record)) {
      std::printf("\nparse error skipped line: %d\n%.*s\n", lineCount, PrintableLength(line), line.text);
      continue;
    }
    if (record.WhiteToMove() != wantWhite) {
      --lineCount;
      continue;
    }
    if (!writer.Add(record)) {
      message_.Format("ERROR: input file with positions not sorted by hash!\n%.*s\n",
                      PrintableLength(line), line.text);
      sorted = false;
      break;
    }
  }
  input.reset();
  if (!writer.Finish()) {
    message_.Format("Cannot write file: %s\n", outputName);
    std::fflush(stdout);
    return false;
  }
  if (sorted) std::printf("\b\b\b\b100%%... done.\n");
  std::fflush(stdout);
  return sorted;
}
