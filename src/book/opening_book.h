// The opening books: positions worth reaching, stored as keys. One side per
// side to move, each a bucket index held in memory (".mbx": 131072 counts,
// entry b = records whose bucket is at most b) and a file of 6-byte records
// sorted by key (".mbk"), read on demand.
#pragma once

#include <string>
#include <vector>

#include "board/types.h"
#include "book/message_text.h"
#include "book/record_file.h"

// Book sides: the side to move of the positions they hold.
constexpr int BOOK_BLACK_TO_MOVE = 0;  // "bookbtm": reached by a white move
constexpr int BOOK_WHITE_TO_MOVE = 1;  // "bookwtm": reached by a black move
inline constexpr const char* BOOK_NAMES[2] = {"bookbtm", "bookwtm"};

// A key's bucket is its top 17 bits; the record keeps the 15 bits below them
// and the low word.
constexpr int BUCKET_SHIFT = 15;
constexpr u32 BUCKET_COUNT = 1u << 17;
constexpr u32 KEY_REST_MASK = 0x7fff;
constexpr size_t BOOK_RECORD_SIZE = 6;
constexpr size_t BOOK_INDEX_SIZE = BUCKET_COUNT * 4;  // bytes of the ".mbx" file
constexpr size_t MAX_BOOK_BASE_NAME = 20;

inline u32 BucketOf(u32 high) { return high >> BUCKET_SHIFT; }
inline u16 KeyRestOf(u32 high) { return static_cast<u16>(high & KEY_REST_MASK); }

// The file name of a book side: base name, cut to 20 characters, and
// extension. A folder in front of the base name is kept whole.
std::string BookFileName(const std::string& baseName, const char* extension);

// The name of a file in a folder; an empty folder is the working one.
std::string FileInFolder(const std::string& folder, const std::string& name);

struct BookSide {
  std::vector<u32> index = std::vector<u32>(BUCKET_COUNT);
  RecordFile records;
  u32 cachedLow = 0;    // the record read last
  u16 cachedRest = 0;
  u64 nextRecord = 0;   // number of the record after it; 0 while none was read
  u64 recordCount = 0;

  // Back to a closed side: no file, an index of zeros, nothing read.
  void Close();
  // Reads record number into the cached record; false when it cannot be read.
  bool ReadRecord(u64 number);
};

class OpeningBook {
 public:
  OpeningBook() = default;
  OpeningBook(const OpeningBook&) = delete;
  OpeningBook& operator=(const OpeningBook&) = delete;

  // Opens side 0 from "bookbtm", then side 1 from "bookwtm"; stops at the
  // first failure, with its message in the message text.
  bool OpenBook();

  // The same from the books in folder ("" for the working folder).
  bool OpenBookIn(const std::string& folder);

  // Opens one side from baseName.mbx and baseName.mbk. A side that fails is
  // left closed: it holds nothing.
  bool OpenSide(int side, const char* baseName);

  // Whether the key (high, low) is among the records of one side.
  bool BookContains(int side, u32 low, u32 high);

  u64 RecordCount(int side) const;
  BookSide& Side(int side) { return sides_[side]; }
  MessageText& Message() { return message_; }

 private:
  bool LoadIndex(BookSide& book, const std::string& name);
  bool OpenRecords(BookSide& book, const std::string& name);

  MessageText message_;
  BookSide sides_[2];
};

// The book the engine plays from, opened at start-up.
extern OpeningBook EngineBook;
