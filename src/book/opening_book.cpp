#include "book/opening_book.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "book/byte_order.h"

OpeningBook EngineBook;

namespace {

bool IsSide(int side) { return side == BOOK_BLACK_TO_MOVE || side == BOOK_WHITE_TO_MOVE; }

// Reads exactly size bytes; false on an error or an early end.
bool ReadAll(int descriptor, u8* out, size_t size) {
  while (size > 0) {
    ssize_t got = ::read(descriptor, out, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

// First record number and one past the last of a bucket.
struct RecordRange {
  u64 first;
  u64 end;
};

RecordRange BucketRange(const BookSide& book, u32 bucket) {
  return {bucket == 0 ? 0 : book.index[bucket - 1], book.index[bucket]};
}

}  // namespace

std::string BookFileName(const std::string& baseName, const char* extension) {
  const size_t slash = baseName.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return baseName.substr(0, nameStart + MAX_BOOK_BASE_NAME) + extension;
}

std::string FileInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder + (folder.back() == '/' ? "" : "/") + name;
}

void BookSide::Close() {
  records.Close();
  std::fill(index.begin(), index.end(), 0);
  cachedLow = 0;
  cachedRest = 0;
  nextRecord = 0;
  recordCount = 0;
}

bool BookSide::ReadRecord(u64 number) {
  u8 bytes[BOOK_RECORD_SIZE];
  if (number >= recordCount || !records.Read(number, 1, BOOK_RECORD_SIZE, bytes)) return false;
  cachedLow = GetU32(bytes);
  cachedRest = GetU16(bytes + 4) & KEY_REST_MASK;
  nextRecord = number + 1;
  return true;
}

bool OpeningBook::LoadIndex(BookSide& book, const std::string& name) {
  int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    message_.Format("Cannot load file: '%s'\n", name.c_str());
    return false;
  }
  struct stat status;
  bool statted = fstat(descriptor, &status) == 0;
  std::vector<u8> bytes(BOOK_INDEX_SIZE);
  bool read = statted && status.st_size == static_cast<off_t>(BOOK_INDEX_SIZE) &&
              ReadAll(descriptor, bytes.data(), bytes.size());
  ::close(descriptor);
  if (!statted) {
    message_.Format("Cannot get file statistics: '%s'.\n", name.c_str());
    return false;
  }
  // The counts never decrease; an index whose counts do is not one.
  for (u32 bucket = 0; read && bucket < BUCKET_COUNT; ++bucket) {
    book.index[bucket] = GetU32(&bytes[bucket * 4]);
    read = bucket == 0 || book.index[bucket] >= book.index[bucket - 1];
  }
  if (!read) message_.Format("Wrong file format '%s'.\n", name.c_str());
  return read;
}

bool OpeningBook::OpenRecords(BookSide& book, const std::string& name) {
  if (!book.records.Open(name.c_str())) {
    message_.Format("Cannot open file: '%s'\n", name.c_str());
    return false;
  }
  u64 size;
  if (!book.records.Size(size)) {
    message_.Format("Cannot get file statistics: '%s'.\n", name.c_str());
    return false;
  }
  book.recordCount = size / BOOK_RECORD_SIZE;
  // A piece of a record at the end, or an index that counts records the file
  // does not hold: the pair does not belong together.
  if (size % BOOK_RECORD_SIZE != 0 || book.index[BUCKET_COUNT - 1] > book.recordCount) {
    message_.Format("Wrong file format '%s'.\n", name.c_str());
    return false;
  }
  if (book.recordCount == 0) return true;
  // Start in the middle, where a first search is most likely to begin.
  if (book.ReadRecord(0) && book.ReadRecord(book.recordCount - 1) &&
      book.ReadRecord(book.recordCount / 2)) {
    return true;
  }
  message_.Format("Wrong file format '%s'.\n", name.c_str());
  return false;
}

bool OpeningBook::OpenSide(int side, const char* baseName) {
  BookSide& book = sides_[side];
  book.Close();
  if (LoadIndex(book, BookFileName(baseName, ".mbx")) &&
      OpenRecords(book, BookFileName(baseName, ".mbk"))) {
    return true;
  }
  book.Close();
  return false;
}

bool OpeningBook::OpenBook() { return OpenBookIn(""); }

bool OpeningBook::OpenBookIn(const std::string& folder) {
  for (int side : {BOOK_BLACK_TO_MOVE, BOOK_WHITE_TO_MOVE}) {
    if (!OpenSide(side, FileInFolder(folder, BOOK_NAMES[side]).c_str())) return false;
  }
  return true;
}

u64 OpeningBook::RecordCount(int side) const { return IsSide(side) ? sides_[side].recordCount : 0; }

bool OpeningBook::BookContains(int side, u32 low, u32 high) {
  if (!IsSide(side)) return false;
  BookSide& book = sides_[side];
  u16 rest = KeyRestOf(high);
  RecordRange range = BucketRange(book, BucketOf(high));
  if (range.end <= range.first) return false;
  // The record read last answers only for its own bucket: the whole key must match.
  u64 cachedNumber = book.nextRecord - 1;
  if (book.nextRecord > 0 && cachedNumber >= range.first && cachedNumber < range.end &&
      book.cachedLow == low && book.cachedRest == rest) {
    return true;
  }
  i64 first = static_cast<i64>(range.first);
  i64 last = static_cast<i64>(range.end) - 1;
  while (first <= last) {
    i64 middle = first + (last - first) / 2;
    if (!book.ReadRecord(static_cast<u64>(middle))) return false;
    if (book.cachedRest == rest && book.cachedLow == low) return true;
    if (book.cachedRest < rest || (book.cachedRest == rest && book.cachedLow < low)) {
      first = middle + 1;
    } else {
      last = middle - 1;
    }
  }
  return false;
}
