// Reading and parsing the lines of a position file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "book/position_line.h"

namespace {

const char* const AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";

bool Parse(const std::string& line, PositionRecord& record) {
  return ParsePositionLine(line.data(), line.size(), record);
}

bool Parses(const std::string& line) {
  PositionRecord record;
  return Parse(line, record);
}

TEST(PositionLineParse, ReadsEveryField) {
  PositionRecord record;
  ASSERT_TRUE(Parse(std::string("00A1B2C3D4E5F607\t") + AFTER_E4 + " b KQkq e3\tD\t2\n", record));
  EXPECT_EQ(record.keyHigh, 0x00A1B2C3u);
  EXPECT_EQ(record.keyLow, 0xD4E5F607u);
  EXPECT_EQ(record.board[0], 0xfc);
  EXPECT_EQ(record.flags, FLAG_WHITE_SHORT | FLAG_WHITE_LONG | FLAG_BLACK_SHORT | FLAG_BLACK_LONG | 4);
  EXPECT_EQ(record.plyAndPassant, PLY_EN_PASSANT_GIVEN | 2);
  EXPECT_EQ(record.whiteWins, 0u);
  EXPECT_EQ(record.blackWins, 0u);
  EXPECT_EQ(record.draws, 1u);
}

TEST(PositionLineParse, SideCastlingAndPassant) {
  PositionRecord record;
  ASSERT_TRUE(Parse("ffffffffffffffff\t8/8/8/8/8/8/8/K6k w Kq -\tW\t7", record));
  EXPECT_EQ(record.Key(), ~0ull);  // lower-case digits read too
  EXPECT_EQ(record.flags, FLAG_WHITE_TO_MOVE | FLAG_WHITE_SHORT | FLAG_BLACK_LONG);
  EXPECT_EQ(record.plyAndPassant, 7);
  EXPECT_EQ(record.whiteWins, 1u);

  ASSERT_TRUE(Parse("0000000000000001\t8/8/8/8/8/8/8/K6k x - a6\tB\t0\r\n", record));
  EXPECT_EQ(record.flags, 0);  // anything but 'w' is black; '-' sets no right
  EXPECT_EQ(record.plyAndPassant, PLY_EN_PASSANT_GIVEN | 0);
  EXPECT_EQ(record.blackWins, 1u);

  ASSERT_TRUE(Parse("0000000000000001\t8/8/8/8/8/8/8/K6k w KXq h3\tD\t1", record));
  EXPECT_EQ(record.flags, FLAG_WHITE_TO_MOVE | FLAG_WHITE_SHORT | FLAG_BLACK_LONG | 7);
}

TEST(PositionLineParse, LargePliesAreHeldAt127) {
  PositionRecord record;
  for (const char* ply : {"127", "128", "4000000000000000000000"}) {
    ASSERT_TRUE(Parse(std::string("0000000000000001\t8/8/8/8/8/8/8/K6k w - -\tW\t") + ply, record));
    EXPECT_EQ(record.EarliestPly(), 127) << ply;
  }
}

TEST(PositionLineParse, MalformedFieldsAreRefused) {
  const std::string good = std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3\tD\t2";
  ASSERT_TRUE(Parses(good));
  const std::string bad[] = {
      std::string("000000000000001\t") + AFTER_E4 + " b KQkq e3\tD\t2",    // 15 digits
      std::string("00000000000000012\t") + AFTER_E4 + " b KQkq e3\tD\t2",  // 17 digits
      std::string("000000000000000G\t") + AFTER_E4 + " b KQkq e3\tD\t2",
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3\t*\t2",   // unfinished game
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3\tw\t2",
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq i3\tD\t2",
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e9\tD\t2",
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3 0 1\tD\t2",  // six FEN fields
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3\tD\t-2",
      std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3\tD\tx",
      std::string("0000000000000001\t") + AFTER_E4 + " bKQkq e3\tD\t2",
      std::string("0000000000000001\t") + AFTER_E4 + "\tb KQkq e3\tD\t2",
      std::string("0000000000000001\trnbqkbnr/pppxpppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - -\tD\t2"),
      std::string("0000000000000001\t b KQkq e3\tD\t2"),  // no placement
  };
  for (const std::string& line : bad) EXPECT_FALSE(Parses(line)) << line;
}

// Every cut of a good line lacks a field. The cut text sits in a buffer of its
// own size, so that a read past its end shows under the address sanitizer.
TEST(PositionLineParse, EveryCutOfALineIsRefusedWithoutReadingPastIt) {
  const std::string line = std::string("0000000000000001\t") + AFTER_E4 + " b KQkq e3\tD\t2";
  for (size_t length = 0; length < line.size(); ++length) {
    std::unique_ptr<char[]> cut(new char[length == 0 ? 1 : length]);
    std::memcpy(cut.get(), line.data(), length);
    PositionRecord record;
    EXPECT_FALSE(ParsePositionLine(cut.get(), length, record)) << length;
  }
}

struct LineFile {
  explicit LineFile(const std::string& contents) : file(std::tmpfile()) {
    std::fwrite(contents.data(), 1, contents.size(), file);
    std::rewind(file);
  }
  ~LineFile() { std::fclose(file); }
  std::FILE* file;
};

TEST(PositionLineRead, LinesKeepTheirEndAndLongLinesAreReadWhole) {
  std::string longLine(300, 'x');
  LineFile input("short\n" + longLine + "\n\nlast");
  PositionLine line;

  ASSERT_TRUE(ReadPositionLine(input.file, line));
  EXPECT_STREQ(line.text, "short\n");
  EXPECT_EQ(line.length, 6u);
  EXPECT_EQ(line.bytesRead, 6u);
  EXPECT_EQ(PrintableLength(line), 5);

  ASSERT_TRUE(ReadPositionLine(input.file, line));
  EXPECT_TRUE(line.tooLong);
  EXPECT_EQ(line.length, MAX_POSITION_LINE);
  EXPECT_EQ(line.bytesRead, 301u);
  EXPECT_EQ(std::string(line.text), std::string(MAX_POSITION_LINE, 'x'));

  ASSERT_TRUE(ReadPositionLine(input.file, line));
  EXPECT_STREQ(line.text, "\n");
  EXPECT_FALSE(line.tooLong);

  ASSERT_TRUE(ReadPositionLine(input.file, line));
  EXPECT_STREQ(line.text, "last");
  EXPECT_EQ(line.bytesRead, 4u);

  EXPECT_FALSE(ReadPositionLine(input.file, line));
}

TEST(PositionLineRead, ALineOf254CharactersFitsWithItsEnd) {
  std::string text(MAX_POSITION_LINE, 'y');
  LineFile input(text + "\n" + text + "z\n");
  PositionLine line;
  ASSERT_TRUE(ReadPositionLine(input.file, line));
  EXPECT_FALSE(line.tooLong);
  EXPECT_EQ(std::string(line.text), text + "\n");
  ASSERT_TRUE(ReadPositionLine(input.file, line));
  EXPECT_TRUE(line.tooLong);
  EXPECT_EQ(line.bytesRead, MAX_POSITION_LINE + 2);
}

}  // namespace
