// Book files from anywhere: after a flag byte, the input is a list of 8-byte
// keys, written as the records and index the book builder would write for
// them in that order. Flag 1 appends the odd bytes to the records file, flag 2
// overwrites one index entry with raw bytes. Every open book answers lookups
// and gives book moves that are legal; one built from strictly ascending keys
// finds every key and no neighbour of one.
#include <algorithm>
#include <memory>
#include <vector>

#include "book/book_move.h"
#include "book/byte_order.h"
#include "book/opening_book.h"
#include "engine/new_position.h"
#include "fuzz_support.h"
#include "movegen/legal_moves.h"

namespace {

constexpr const char* BASE_NAME = "fuzzbook";
constexpr u8 APPEND_ODD_BYTES = 1, OVERWRITE_INDEX_ENTRY = 2;
constexpr size_t KEY_BYTES = 8;

u64 KeyAt(const uint8_t* at) { return KeyOf(GetU32(at + 4), GetU32(at)); }

void WriteBook(const std::vector<u64>& keys, const uint8_t* odd, size_t oddSize, u8 flags) {
  std::vector<u8> records, index(BOOK_INDEX_SIZE);
  std::vector<u32> counts(BUCKET_COUNT);
  for (size_t i = 0; i < keys.size(); ++i) {
    u8 record[BOOK_RECORD_SIZE];
    PutU32(record, KeyLow(keys[i]));
    PutU16(record + 4, KeyRestOf(KeyHigh(keys[i])));
    records.insert(records.end(), record, record + BOOK_RECORD_SIZE);
    counts[BucketOf(KeyHigh(keys[i]))] = static_cast<u32>(i + 1);
  }
  for (u32 bucket = 1; bucket < BUCKET_COUNT; ++bucket) counts[bucket] = std::max(counts[bucket], counts[bucket - 1]);
  if ((flags & OVERWRITE_INDEX_ENTRY) && oddSize >= KEY_BYTES) {
    counts[GetU32(odd) % BUCKET_COUNT] = GetU32(odd + 4);
  }
  for (u32 bucket = 0; bucket < BUCKET_COUNT; ++bucket) PutU32(&index[bucket * 4], counts[bucket]);
  if (flags & APPEND_ODD_BYTES) records.insert(records.end(), odd, odd + oddSize);
  WriteFile("fuzzbook.mbx", index.data(), index.size());
  WriteFile("fuzzbook.mbk", records.data(), records.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Position pos;
  if (size == 0) return 0;
  const u8 flags = data[0];
  std::vector<u64> keys;
  size_t at = 1;
  for (; at + KEY_BYTES <= size; at += KEY_BYTES) keys.push_back(KeyAt(data + at));
  WriteBook(keys, data + at, size - at, flags);

  const bool ascending = std::is_sorted(keys.begin(), keys.end()) &&
                         std::adjacent_find(keys.begin(), keys.end()) == keys.end();
  const bool asBuilt = ascending && !(flags & (APPEND_ODD_BYTES | OVERWRITE_INDEX_ENTRY));
  auto book = std::make_unique<OpeningBook>();
  const bool opened = book->OpenSide(BOOK_WHITE_TO_MOVE, BASE_NAME);
  Require(opened || !asBuilt, "a book as the builder writes it opens");
  for (u64 key : keys) {
    bool found = book->BookContains(BOOK_WHITE_TO_MOVE, KeyLow(key), KeyHigh(key));
    Require(found || !(asBuilt && opened), "every key of a built book is found");
    for (u64 neighbour : {key + 1, key - 1}) {
      bool held = std::binary_search(keys.begin(), keys.end(), neighbour);
      if (asBuilt) Require(book->BookContains(BOOK_WHITE_TO_MOVE, KeyLow(neighbour), KeyHigh(neighbour)) == held,
                           "a key is found only when the book holds it");
    }
  }

  // The engine's own book, both sides from these files, gives legal moves only.
  for (int side : {BOOK_BLACK_TO_MOVE, BOOK_WHITE_TO_MOVE}) EngineBook.OpenSide(side, BASE_NAME);
  // Loaded once: a load clears the transposition table, which would cost more than all the rest.
  static const bool initialLoaded = ReadPositionText(pos, INITIAL_POSITION);
  Require(initialLoaded, "the initial position loads");
  const std::string before = PositionBytes(pos);
  Move move = BookMoveAt(pos, static_cast<i64>(size));
  Require(move == NO_MOVE || IsGeneratedLegalMove(pos, move), "a book move is legal");
  Require(PositionBytes(pos) == before, "looking for a book move changes nothing");
  for (int side : {BOOK_BLACK_TO_MOVE, BOOK_WHITE_TO_MOVE}) EngineBook.Side(side).Close();
  return 0;
}
