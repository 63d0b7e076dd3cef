// Building the two databases from position files written here line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "book/byte_order.h"
#include "book/position_database.h"
#include "book_test_files.h"
#include "support/engine_process.h"

namespace {

const std::string START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const std::string AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";
const std::string AFTER_E4_NO_PASSANT = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -";
const std::string LONE_KINGS_WHITE = "8/8/8/8/8/8/8/K6k w - -";

struct Build {
  bool created;
  std::string output;
  std::string message;
  std::vector<PositionRecord> white;
  std::vector<PositionRecord> black;
};

Build CreateFrom(const TempDir& dir, const std::string& lines) {
  WriteTextFile(dir.File("games.pos"), lines);
  PositionDatabase databases;
  Build build;
  build.output = CaptureOutput([&] {
    build.created = databases.CreateDatabases(dir.File("games.pos").c_str(), dir.File("w.db").c_str(),
                                              dir.File("b.db").c_str());
  });
  build.message = databases.Message().Text();
  build.white = ReadDatabase(dir.File("w.db"));
  build.black = ReadDatabase(dir.File("b.db"));
  return build;
}

TEST(DatabaseCreate, LinesOfOnePositionMergeIntoOneRecord) {
  TempDir dir;
  Build build = CreateFrom(dir, PositionText(0x20, START, 'W', 14) + PositionText(0x20, START, 'D', 9) +
                                    PositionText(0x20, START, 'D', 30));
  ASSERT_TRUE(build.created) << build.message;
  ASSERT_EQ(build.white.size(), 1u);
  EXPECT_TRUE(build.black.empty());
  const PositionRecord& record = build.white[0];
  EXPECT_EQ(record.Key(), 0x20u);
  EXPECT_EQ(record.whiteWins, 1u);
  EXPECT_EQ(record.blackWins, 0u);
  EXPECT_EQ(record.draws, 2u);
  EXPECT_EQ(record.EarliestPly(), 9);
  EXPECT_EQ(record.flags, 0xF8);  // white to move, all four castling rights
}

TEST(DatabaseCreate, ADifferentPositionUnderTheSameKeyReplacesThePendingOne) {
  TempDir dir;
  Build build = CreateFrom(dir, PositionText(0x30, AFTER_E4, 'W', 2) + PositionText(0x30, AFTER_E4, 'W', 2) +
                                    PositionText(0x30, AFTER_E4_NO_PASSANT, 'B', 6) +
                                    PositionText(0x30, AFTER_E4_NO_PASSANT, 'D', 4) +
                                    PositionText(0x31, AFTER_E4, 'D', 3));
  ASSERT_TRUE(build.created) << build.message;
  ASSERT_EQ(build.black.size(), 2u);
  EXPECT_EQ(build.black[0].Key(), 0x30u);
  EXPECT_EQ(build.black[0].plyAndPassant, 4);  // the position without en passant, both its games
  EXPECT_EQ(build.black[0].whiteWins, 0u);
  EXPECT_EQ(build.black[0].blackWins, 1u);
  EXPECT_EQ(build.black[0].draws, 1u);
  EXPECT_EQ(build.black[1].plyAndPassant, PLY_EN_PASSANT_GIVEN | 3);
}

TEST(DatabaseCreate, EachSideGetsItsOwnLinesInKeyOrder) {
  TempDir dir;
  std::string lines;
  for (u64 key = 1; key <= 6; ++key) lines += PositionText(key << 40, key % 2 ? START : AFTER_E4, 'W', 1);
  Build build = CreateFrom(dir, lines);
  ASSERT_TRUE(build.created) << build.message;
  ASSERT_EQ(build.white.size(), 3u);
  ASSERT_EQ(build.black.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(build.white[i].Key(), u64(2 * i + 1) << 40);
    EXPECT_EQ(build.black[i].Key(), u64(2 * i + 2) << 40);
  }
  // Black first, each pass with its progress, then one line per pass at 100%.
  size_t black = build.output.find("creating new database '" + dir.File("b.db") + "':  0%");
  size_t white = build.output.find("creating new database '" + dir.File("w.db") + "':  0%");
  ASSERT_NE(black, std::string::npos);
  ASSERT_NE(white, std::string::npos);
  EXPECT_LT(black, white);
  const std::string done = "\b\b\b\b100%... done.\n";
  EXPECT_EQ(build.output.substr(build.output.size() - done.size()), done);
}

// The percentages between the first "  0%" and the final "100%" only grow.
TEST(DatabaseCreate, ProgressRisesToAHundred) {
  TempDir dir;
  std::string lines;
  for (u64 key = 1; key <= 50; ++key) lines += PositionText(key, LONE_KINGS_WHITE, 'D', 5);
  Build build = CreateFrom(dir, lines);
  ASSERT_TRUE(build.created);
  std::string white = build.output.substr(build.output.find(dir.File("w.db")));
  std::vector<int> shown;
  for (size_t at = white.find("\b\b\b\b"); at != std::string::npos; at = white.find("\b\b\b\b", at + 4)) {
    shown.push_back(std::stoi(white.substr(at + 4, 3)));
  }
  ASSERT_GE(shown.size(), 10u);
  EXPECT_EQ(shown.back(), 100);  // "100%... done."
  shown.pop_back();
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end()), shown.end());  // each shown once
  EXPECT_GT(shown.back(), 80);
  EXPECT_LE(shown.back(), 100);
}

TEST(DatabaseCreate, LinesOfTheOtherSideAndShortLinesAreNotCounted) {
  TempDir dir;
  WriteTextFile(dir.File("games.pos"), "\nshort line\n" + PositionText(1, AFTER_E4, 'W', 2) +
                                           PositionText(2, AFTER_E4, 'W', 2) +
                                           "0000000000000003\tnot a position\n");
  PositionDatabase databases;
  std::string output = CaptureOutput([&] {
    EXPECT_TRUE(databases.CreateDatabaseSide(dir.File("games.pos").c_str(), dir.File("w.db").c_str(), 'W'));
  });
  EXPECT_NE(output.find("\nparse error skipped line: 1\n0000000000000003\tnot a position\n"),
            std::string::npos)
      << output;
  EXPECT_TRUE(ReadDatabase(dir.File("w.db")).empty());
}

TEST(DatabaseCreate, LinesThatDoNotParseAreReportedAndSkipped) {
  TempDir dir;
  Build build = CreateFrom(dir, PositionText(1, START, 'W', 1) + PositionText(2, START, '*', 1) +
                                    "0000000000000003\t" + START + "\tD\n" + PositionText(4, START, 'B', 1));
  ASSERT_TRUE(build.created);
  ASSERT_EQ(build.white.size(), 2u);
  EXPECT_EQ(build.white[1].Key(), 4u);
  // Each pass reports every broken line, numbered among the lines it counts:
  // the black pass does not count the white line before them.
  const std::string unfinished = "\n" + PositionText(2, START, '*', 1);
  const std::string noPly = "\n0000000000000003\t" + START + "\tD\n";
  EXPECT_NE(build.output.find("\nparse error skipped line: 1" + unfinished), std::string::npos);
  EXPECT_NE(build.output.find("\nparse error skipped line: 2" + noPly), std::string::npos);
  EXPECT_NE(build.output.find("\nparse error skipped line: 2" + unfinished), std::string::npos);
  EXPECT_NE(build.output.find("\nparse error skipped line: 3" + noPly), std::string::npos);
}

TEST(DatabaseCreate, OnlyMalformedLinesGiveEmptyDatabases) {
  TempDir dir;
  Build build = CreateFrom(dir, "garbage garbage garbage\n0123456789ABCDEF\n0123456789ABCDEF\tx y z\n");
  EXPECT_TRUE(build.created);
  EXPECT_TRUE(build.white.empty());
  EXPECT_TRUE(build.black.empty());
  EXPECT_TRUE(std::filesystem::exists(dir.File("w.db")));
}

// The tail of an over-long line is never read as a line of its own, even
// when it looks like one.
TEST(DatabaseCreate, AnOverlongLineIsSkippedWhole) {
  TempDir dir;
  std::string tail = PositionText(5, START, 'W', 1);
  std::string overlong = PositionText(4, START, 'W', 1);
  overlong.pop_back();
  overlong += std::string(254 - overlong.size(), ' ') + tail;
  Build build = CreateFrom(dir, overlong + PositionText(6, START, 'D', 1));
  ASSERT_TRUE(build.created);
  ASSERT_EQ(build.white.size(), 1u);
  EXPECT_EQ(build.white[0].Key(), 6u);
  EXPECT_NE(build.output.find("\nparse error skipped line: 1\n"), std::string::npos);
}

TEST(DatabaseCreate, KeysOutOfOrderStopTheBuild) {
  TempDir dir;
  Build build = CreateFrom(dir, PositionText(0x0E, START, 'W', 1) + PositionText(0x10, START, 'W', 1) +
                                    PositionText(0x0F, START, 'W', 1) + PositionText(0x11, START, 'W', 1));
  EXPECT_FALSE(build.created);
  EXPECT_EQ(build.message, "ERROR: input file with positions not sorted by hash!\n" +
                               PositionText(0x0F, START, 'W', 1));
  // The records before the offending line stay, the pending one included.
  ASSERT_EQ(build.white.size(), 2u);
  EXPECT_EQ(build.white[1].Key(), 0x10u);
  EXPECT_EQ(build.output.find("100%... done.", build.output.find("w.db")), std::string::npos);
}

TEST(DatabaseCreate, FailuresLeaveTheirMessage) {
  TempDir dir;
  PositionDatabase databases;
  EXPECT_FALSE(databases.CreateDatabases(dir.File("none.pos").c_str(), "w.db", "b.db"));
  EXPECT_EQ(std::string(databases.Message().Text()), "Cannot open file statistics: " + dir.File("none.pos") + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.db")));

  WriteTextFile(dir.File("games.pos"), PositionText(1, START, 'W', 1));
  EXPECT_FALSE(databases.CreateDatabaseSide(dir.File("games.pos").c_str(), dir.File("x.db").c_str(), 'w'));
  EXPECT_STREQ(databases.Message().Text(), "WRONG STM parameter: w\n");

  // A position file named like an output is not emptied before it is read.
  EXPECT_FALSE(databases.CreateDatabaseSide(dir.File("games.pos").c_str(), dir.File("games.pos").c_str(), 'W'));
  EXPECT_EQ(std::string(databases.Message().Text()), "Cannot open file: " + dir.File("games.pos") + "\n");
  EXPECT_EQ(ReadFile(dir.File("games.pos")), PositionText(1, START, 'W', 1));

  std::string unwritable = dir.File("no/such/folder.db");
  EXPECT_FALSE(databases.CreateDatabaseSide(dir.File("games.pos").c_str(), unwritable.c_str(), 'W'));
  EXPECT_EQ(std::string(databases.Message().Text()), "Cannot open file: " + unwritable + "\n");
}

// Many games over many positions: the records hold what a plain count of the
// lines says, and both searches find every key of the file and no other.
TEST(DatabaseRoundTrip, EveryPositionIsFoundWithItsCounts) {
  const std::string placements[] = {"8/8/8/8/8/8/8/K6k", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
                                    "r3k2r/8/8/8/8/8/8/R3K2R", "4k3/8/8/3pP3/8/8/8/4K3"};
  const std::string tails[] = {" w KQkq -", " b - -", " w - d6", " b Kk e3"};
  std::mt19937_64 random(20240601);
  std::map<u64, PositionRecord> expected[2];  // by side to move
  std::vector<std::string> lines;
  for (int position = 0; position < 400; ++position) {
    u64 key = random() | 1;  // key 0 would be "out of order" before the first record
    int kind = static_cast<int>(random() % 4);
    std::string fen = placements[random() % 4] + tails[kind];
    PositionRecord& counts = expected[kind % 2 == 0 ? 1 : 0][key];
    counts.keyHigh = KeyHigh(key);
    counts.keyLow = KeyLow(key);
    counts.plyAndPassant = MAX_EARLIEST_PLY;
    for (int game = 0, games = 1 + static_cast<int>(random() % 4); game < games; ++game) {
      char result = "WBD"[random() % 3];
      int ply = 1 + static_cast<int>(random() % 200);
      (result == 'W' ? counts.whiteWins : result == 'B' ? counts.blackWins : counts.draws) += 1;
      counts.plyAndPassant = static_cast<u8>(std::min<int>(counts.plyAndPassant, std::min(ply, 127)));
      lines.push_back(PositionText(key, fen, result, ply));
    }
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return a.substr(0, 16) < b.substr(0, 16); });
  std::string text;
  for (const std::string& line : lines) text += line;

  TempDir dir;
  Build build = CreateFrom(dir, text);
  ASSERT_TRUE(build.created) << build.message;
  EXPECT_EQ(build.white.size(), expected[1].size());
  EXPECT_EQ(build.black.size(), expected[0].size());

  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases(dir.File("w.db").c_str(), dir.File("b.db").c_str()));
  std::string scanOutput = CaptureOutput([&] {
    for (int side : {0, 1}) {
      for (const auto& [key, counts] : expected[side]) {
        for (bool linear : {false, true}) {
          auto found = linear ? databases.FindRecordLinear(side, KeyLow(key), KeyHigh(key))
                              : databases.FindRecord(side, KeyLow(key), KeyHigh(key));
          ASSERT_TRUE(found.has_value()) << std::hex << key << " linear " << linear;
          EXPECT_EQ(found->Key(), key);
          EXPECT_EQ(found->whiteWins, counts.whiteWins);
          EXPECT_EQ(found->blackWins, counts.blackWins);
          EXPECT_EQ(found->draws, counts.draws);
          EXPECT_EQ(found->EarliestPly(), counts.plyAndPassant);
          EXPECT_EQ(found->WhiteToMove(), side == 1);
        }
        u64 absent = key + 2;  // keys are odd and random: this one is in no file
        EXPECT_FALSE(databases.FindRecord(side, KeyLow(absent), KeyHigh(absent)));
        EXPECT_FALSE(databases.FindRecordLinear(side, KeyLow(absent), KeyHigh(absent)));
      }
    }
  });
  EXPECT_EQ(scanOutput, "");  // a sorted file has no "Sort ERROR"
}

}  // namespace
