// Files for the book and database tests: position lines, database records
// written by hand, and a working directory to run the fixed file names in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "board/types.h"
#include "book/position_record.h"

// "KEY<tab>FEN<tab>RESULT<tab>PLY\n" with the key as 16 upper-case hex digits.
std::string PositionText(u64 key, const std::string& fen, char result, int ply);

void WriteTextFile(const std::string& path, const std::string& text);

// A database record with one position per key: the board differs with the key.
PositionRecord MakeRecord(u64 key, u32 whiteWins, u32 blackWins, u32 draws, int ply,
                          bool whiteToMove = true);

void WriteDatabase(const std::string& path, const std::vector<PositionRecord>& records);
std::vector<PositionRecord> ReadDatabase(const std::string& path);

// Book files worked out from a sorted list of keys: the ".mbk" records and
// the ".mbx" index (entry b counts the keys of buckets 0 to b).
std::string BookRecordBytes(const std::vector<u64>& keys);
std::vector<u32> BookIndexOf(const std::vector<u64>& keys);
std::string BookIndexBytes(const std::vector<u32>& index);
u32 BookIndexEntry(const std::string& indexBytes, u32 bucket);

// Writes baseName.mbx and baseName.mbk holding the keys, in the working folder.
void WriteBook(const std::string& baseName, std::vector<u64> keys);

// Changes the working directory for the life of the object.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::string previous_;
};

// Runs body with standard output captured and returns what it printed.
std::string CaptureOutput(const std::function<void()>& body);
