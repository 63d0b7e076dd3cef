// The 54-byte database record: its packed board and its byte layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "book/position_record.h"

namespace {

std::vector<int> Codes(const u8* board) {
  std::vector<int> codes;
  for (size_t i = 0; i < PACKED_BOARD_SIZE; ++i) {
    codes.push_back(board[i] >> 4);
    codes.push_back(board[i] & 15);
  }
  return codes;
}

std::vector<int> Packed(const std::string& placement) {
  u8 board[PACKED_BOARD_SIZE];
  EXPECT_TRUE(PackBoard(placement.data(), placement.size(), board)) << placement;
  return Codes(board);
}

std::vector<int> FilledTo64(std::vector<int> codes) {
  codes.resize(64, 15);
  return codes;
}

TEST(PackedBoard, PositionAfterE4) {
  std::vector<int> expected = {15, 12, 10, 14, 11, 10, 12, 15, 13, 13, 13, 13, 13, 13, 13, 13,
                               3,  3,  3,  3,  3,  7,  2,  3,  3,  7,  7,  7,  7,  0,  7,  7,
                               7,  9,  6,  4,  8,  5,  4,  6,  9};
  EXPECT_EQ(Packed("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"), FilledTo64(expected));

  u8 board[PACKED_BOARD_SIZE];
  const char* placement = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
  ASSERT_TRUE(PackBoard(placement, std::strlen(placement), board));
  EXPECT_EQ(board[0], 0xfc);  // r n: the first code in the high nibble
  EXPECT_EQ(board[16], 0x79);  // the last P, then the first R of rank 1
  EXPECT_EQ(board[20], 0x9f);  // the last R, then the first filler
  EXPECT_EQ(board[31], 0xff);
}

TEST(PackedBoard, EmptySquaresComeInRunsOfAtMostFour) {
  EXPECT_EQ(Packed("1"), FilledTo64({0}));
  EXPECT_EQ(Packed("4"), FilledTo64({3}));
  EXPECT_EQ(Packed("5"), FilledTo64({3, 0}));
  EXPECT_EQ(Packed("7k"), FilledTo64({3, 2, 11}));
  EXPECT_EQ(Packed("8/8/8/8/8/8/8/8"), FilledTo64(std::vector<int>(16, 3)));
  EXPECT_EQ(Packed("K7/8/8/8/8/8/8/7k"),
            FilledTo64({5, 3, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 11}));
}

TEST(PackedBoard, EveryPieceLetterHasItsCode) {
  EXPECT_EQ(Packed("BKNPQRbknpqr"), FilledTo64({4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

TEST(PackedBoard, KeepsTheFirstSixtyFourCodes) {
  EXPECT_EQ(Packed(std::string(70, 'P')), std::vector<int>(64, 7));
  // An eight at the last code has room for its first run only.
  std::vector<int> expected(63, 7);
  expected.push_back(3);
  EXPECT_EQ(Packed(std::string(63, 'P') + "8"), expected);
}

TEST(PackedBoard, RefusesWhatNoPlacementHolds) {
  u8 board[PACKED_BOARD_SIZE];
  for (std::string bad : {"", "rnbqkbnr/ppppxppp", "9", "0p", "8/8/8/8/8/8/8/7K\t"}) {
    EXPECT_FALSE(PackBoard(bad.data(), bad.size(), board)) << bad;
  }
}

TEST(PositionRecordBytes, FieldsLieLittleEndianAtTheirOffsets) {
  PositionRecord record;
  record.keyLow = 0x04030201;
  record.keyHigh = 0x88070605;
  for (size_t i = 0; i < PACKED_BOARD_SIZE; ++i) record.board[i] = static_cast<u8>(0x10 + i);
  record.flags = 0xA5;
  record.plyAndPassant = 0x85;
  record.whiteWins = 0x0D0C0B0A;
  record.blackWins = 0x11100F0E;
  record.draws = 0xF5141312;

  u8 expected[POSITION_RECORD_SIZE] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88};
  for (size_t i = 0; i < PACKED_BOARD_SIZE; ++i) expected[8 + i] = static_cast<u8>(0x10 + i);
  const u8 tail[] = {0xA5, 0x85, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,
                     0x10, 0x11, 0x12, 0x13, 0x14, 0xF5};
  std::memcpy(expected + 40, tail, sizeof tail);

  u8 bytes[POSITION_RECORD_SIZE];
  EncodeRecord(record, bytes);
  EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
  EXPECT_EQ(record.Key(), 0x8807060504030201ull);

  PositionRecord back = DecodeRecord(bytes);
  u8 again[POSITION_RECORD_SIZE];
  EncodeRecord(back, again);
  EXPECT_EQ(std::memcmp(again, expected, sizeof again), 0);
  EXPECT_EQ(back.EarliestPly(), 5);
  EXPECT_TRUE(back.WhiteToMove());
}

TEST(PositionRecord, SamePositionComparesBoardSideCastlingAndPassantOnly) {
  PositionRecord a;
  a.keyLow = 7;
  a.board[3] = 0x42;
  a.flags = FLAG_WHITE_TO_MOVE | FLAG_BLACK_LONG;
  a.plyAndPassant = 12;
  PositionRecord b = a;
  b.keyLow = 8;  // keys, plies and counts do not matter
  b.plyAndPassant = 40;
  b.draws = 3;
  EXPECT_TRUE(SamePosition(a, b));

  PositionRecord board = a;
  board.board[31] = 1;
  PositionRecord side = a;
  side.flags &= static_cast<u8>(~FLAG_WHITE_TO_MOVE);
  PositionRecord castling = a;
  castling.flags |= FLAG_WHITE_SHORT;
  PositionRecord passant = a;
  passant.plyAndPassant |= PLY_EN_PASSANT_GIVEN;
  for (const PositionRecord& other : {board, side, castling, passant}) {
    EXPECT_FALSE(SamePosition(a, other));
  }
}

TEST(WhiteScore, CountsDrawsAsHalfAndNothingAsZero) {
  EXPECT_DOUBLE_EQ(WhiteScore(1, 0, 1), 0.75);
  EXPECT_DOUBLE_EQ(WhiteScore(0, 3, 0), 0.0);
  EXPECT_DOUBLE_EQ(WhiteScore(2, 2, 4), 0.5);
  EXPECT_EQ(WhiteScore(0, 0, 0), 0.0);
}

}  // namespace
