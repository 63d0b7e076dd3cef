// Book, database and position files written here by hand, from their keys, in a working folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <fstream>

#include "board/position.h"
#include "book/byte_order.h"
#include "book/opening_book.h"
#include "book/position_record.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

const std::string START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const std::string AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";

inline void WriteTextFile(const std::string& path, const std::string& text) {
  if (!(std::ofstream(path, std::ios::binary) << text)) throw std::runtime_error("cannot write " + path);
}

// "KEY<tab>FEN<tab>RESULT<tab>PLY\n" with the key as 16 upper-case hex digits.
inline std::string PositionText(u64 key, const std::string& fen, char result, int ply) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llX\t", static_cast<unsigned long long>(key));
  return text + fen + "\t" + result + "\t" + std::to_string(ply) + "\n";
}

inline PositionRecord MakeRecord(u64 key, u32 whiteWins, u32 blackWins, u32 draws, int ply) {
  return {KeyLow(key), KeyHigh(key), {}, FLAG_WHITE_TO_MOVE, static_cast<u8>(ply), whiteWins, blackWins, draws};
}

inline void WriteDatabase(const std::string& path, const std::vector<PositionRecord>& records) {
  std::string bytes(records.size() * POSITION_RECORD_SIZE, '\0');
  u8* at = reinterpret_cast<u8*>(bytes.data());
  for (const PositionRecord& record : records) EncodeRecord(record, at), at += POSITION_RECORD_SIZE;
  WriteTextFile(path, bytes);
}

inline std::vector<PositionRecord> ReadDatabase(const std::string& path) {
  const std::string bytes = ReadFile(path);
  std::vector<PositionRecord> records;
  for (size_t at = 0; at + POSITION_RECORD_SIZE <= bytes.size(); at += POSITION_RECORD_SIZE)
    records.push_back(DecodeRecord(reinterpret_cast<const u8*>(&bytes[at])));
  return records;
}

inline std::string LittleEndian(u64 value, int bytes) {
  std::string text;
  for (int i = 0; i < bytes; ++i) text += static_cast<char>(value >> (8 * i));
  return text;
}

// The ".mbk" file of sorted keys: the low word, then the 15 bits below the key's bucket (its top 17 bits).
inline std::string BookRecordBytes(const std::vector<u64>& keys) {
  std::string bytes;
  for (u64 key : keys) bytes += LittleEndian(key & 0xFFFFFFFFull, 4) + LittleEndian((key >> 32) & 0x7fff, 2);
  return bytes;
}

// The ".mbx" file: 131072 counts, entry b counting the keys of buckets 0 to b.
inline std::string BookIndexBytes(const std::vector<u64>& keys) {
  std::vector<u32> perBucket(1u << 17);
  for (u64 key : keys) ++perBucket[key >> 47];
  std::string bytes;
  u32 count = 0;
  for (u32 keysHere : perBucket) bytes += LittleEndian(count += keysHere, 4);
  return bytes;
}

inline bool BookHolds(OpeningBook& book, int side, u64 key) {
  return book.BookContains(side, static_cast<u32>(key), static_cast<u32>(key >> 32));
}

// Writes baseName.mbx and baseName.mbk holding the keys, in the working folder.
inline void WriteBook(const std::string& baseName, std::vector<u64> keys) {
  std::sort(keys.begin(), keys.end());
  WriteTextFile(baseName + ".mbx", BookIndexBytes(keys));
  WriteTextFile(baseName + ".mbk", BookRecordBytes(keys));
}

// A Polyglot book entry as the tests write it: key, move field, weight; learn is the key's low word, to see that
// every field is read from its own bytes.
struct PolyglotRow {
  u64 key;
  u16 move, weight;
};

// The 16-byte entries, each field highest byte first, in the order given.
inline std::string PolyglotBytes(const std::vector<PolyglotRow>& rows) {
  auto bigEndian = [](u64 value, int bytes) {
    std::string text;
    for (int i = bytes - 1; i >= 0; --i) text += static_cast<char>(value >> (8 * i));
    return text;
  };
  std::string bytes;
  for (const PolyglotRow& row : rows) {
    bytes += bigEndian(row.key, 8) + bigEndian(row.move, 2) + bigEndian(row.weight, 2) + bigEndian(row.key, 4);
  }
  return bytes;
}

// The move field of from-square, to-square (as "e2") and promotion number, put together here by hand.
inline u16 PolyglotField(const char* from, const char* to, int promotion = 0) {
  auto number = [](const char* square) { return (square[1] - '1') * 8 + (square[0] - 'a'); };
  return static_cast<u16>(promotion << 12 | number(from) << 6 | number(to));
}
