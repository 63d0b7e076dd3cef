#include "book_test_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

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
