// A read-only binary file of fixed-size records, read at record numbers with
// positioned reads: a failed or short read never leaves a file position
// behind to throw the next read off.
#pragma once

#include <cstddef>

#include "board/types.h"

class RecordFile {
 public:
  RecordFile() = default;
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Opens name for reading, closing what was open before. False when it cannot be opened.
  bool Open(const char* name);
  void Close();
  bool IsOpen() const { return descriptor_ >= 0; }

  // The file's size in bytes; false when it cannot be had.
  bool Size(u64& bytes) const;

  // Reads count records of recordSize bytes from record number first on.
  // False unless every byte was read.
  bool Read(u64 first, u64 count, size_t recordSize, u8* out) const;

 private:
  int descriptor_ = -1;
};
