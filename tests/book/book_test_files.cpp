#include "book_test_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "book/byte_order.h"

std::string PositionText(u64 key, const std::string& fen, char result, int ply) {
  char text[64];
  std::snprintf(text, sizeof text, "%016llX\t", static_cast<unsigned long long>(key));
  return text + fen + "\t" + result + "\t" + std::to_string(ply) + "\n";
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path);
}

PositionRecord MakeRecord(u64 key, u32 whiteWins, u32 blackWins, u32 draws, int ply,
                          bool whiteToMove) {
  PositionRecord record;
  record.keyHigh = KeyHigh(key);
  record.keyLow = KeyLow(key);
  for (size_t i = 0; i < PACKED_BOARD_SIZE; ++i) record.board[i] = static_cast<u8>(key >> (i % 8));
  record.flags = whiteToMove ? FLAG_WHITE_TO_MOVE : 0;
  record.plyAndPassant = static_cast<u8>(ply);
  record.whiteWins = whiteWins;
  record.blackWins = blackWins;
  record.draws = draws;
  return record;
}

void WriteDatabase(const std::string& path, const std::vector<PositionRecord>& records) {
  std::string bytes;
  for (const PositionRecord& record : records) {
    u8 encoded[POSITION_RECORD_SIZE];
    EncodeRecord(record, encoded);
    bytes.append(reinterpret_cast<const char*>(encoded), sizeof encoded);
  }
  WriteTextFile(path, bytes);
}

std::vector<PositionRecord> ReadDatabase(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<PositionRecord> records;
  u8 bytes[POSITION_RECORD_SIZE];
  while (in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) records.push_back(DecodeRecord(bytes));
  return records;
}

namespace {

std::string U32Bytes(u32 value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(value >> shift);
  return bytes;
}

}  // namespace

std::string BookRecordBytes(const std::vector<u64>& keys) {
  std::string bytes;
  for (u64 key : keys) {
    bytes += U32Bytes(static_cast<u32>(key));
    u32 rest = static_cast<u32>(key >> 32) & 0x7fff;
    bytes += static_cast<char>(rest);
    bytes += static_cast<char>(rest >> 8);
  }
  return bytes;
}

std::vector<u32> BookIndexOf(const std::vector<u64>& keys) {
  constexpr u32 buckets = 1u << 17;
  std::vector<u32> index(buckets, 0);
  for (u64 key : keys) ++index[key >> 47];
  for (u32 bucket = 1; bucket < buckets; ++bucket) index[bucket] += index[bucket - 1];
  return index;
}

std::string BookIndexBytes(const std::vector<u32>& index) {
  std::string bytes;
  for (u32 count : index) bytes += U32Bytes(count);
  return bytes;
}

u32 BookIndexEntry(const std::string& indexBytes, u32 bucket) {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(indexBytes.data()) + 4 * bucket;
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<u32>(at[3]) << 24);
}

WorkingDirectory::WorkingDirectory(const std::string& path) {
  char here[PATH_MAX];
  if (getcwd(here, sizeof here) == nullptr) throw std::runtime_error("getcwd failed");
  previous_ = here;
  if (chdir(path.c_str()) != 0) throw std::runtime_error("cannot enter " + path);
}

WorkingDirectory::~WorkingDirectory() {
  if (chdir(previous_.c_str()) != 0) std::perror("chdir back");
}

std::string CaptureOutput(const std::function<void()>& body) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  body();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

void WriteBook(const std::string& baseName, std::vector<u64> keys) {
  std::sort(keys.begin(), keys.end());
  WriteTextFile(baseName + ".mbx", BookIndexBytes(BookIndexOf(keys)));
  WriteTextFile(baseName + ".mbk", BookRecordBytes(keys));
}
