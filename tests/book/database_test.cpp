// The position databases: lines of a position file parsed, boards packed,
// databases built from lines written here, and searched by halving and by scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "book/position_database.h"
#include "book/position_line.h"
#include "book_test_files.h"

namespace {

const std::string START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const std::string AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";

// The codes of a placement as hexadecimal digits, high nibble first; "" when refused.
std::string Packed(const std::string& placement) {
  u8 board[PACKED_BOARD_SIZE];
  if (!PackBoard(placement.data(), placement.size(), board)) return "";
  std::string codes;
  for (u8 byte : board) codes += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
  return codes;
}

// The whole record of a packed board is pinned by the database command tests.
TEST(PackedBoard, PlacementsPackIntoFourBitCodes) {
  const std::pair<std::string, std::string> cases[] = {  // placement, the codes before the filler 'f'
      {"BKNPQRbknpqr", "456789abcdef"}, {"1", "0"}, {"4", "3"}, {"5", "30"}, {"7k", "32b"},
      {"8/8/8/8/8/8/8/8", std::string(16, '3')}, {std::string(70, 'P'), std::string(64, '7')},
      {std::string(63, 'P') + "8", std::string(63, '7') + "3"},  // the last code holds an eight's first run
  };
  for (const auto& [placement, codes] : cases) {
    EXPECT_EQ(Packed(placement), codes + std::string(64 - codes.size(), 'f')) << placement;
  }
  for (std::string bad : {"", "rnbqkbnr/ppppxppp", "9", "0p", "8/8/8/8/8/8/8/7K\t"}) EXPECT_EQ(Packed(bad), "") << bad;
}

// Lines are the good one with one piece changed. A line cut anywhere lacks a
// field; the cut sits in a buffer of its own size, so that a read past it
// shows under the address sanitizer.
TEST(PositionLine, LinesParseOrAreRefused) {
  const std::string good = "0000000000000001\t" + AFTER_E4 + "\tD\t2";
  auto with = [&](const std::string& from, const std::string& to) {
    std::string line = good;
    return line.replace(line.find(from), from.size(), to);
  };
  PositionRecord record;
  for (const auto& [line, key, flags, ply] :
       {std::tuple{good + "\r\n", 1ull, 0x7C, PLY_EN_PASSANT_GIVEN | 2},
        {with("0000000000000001", "fedcba9876543210"), 0xFEDCBA9876543210ull, 0x7C, 0x82},
        {with("b KQkq e3", "w KXq h3"), 1ull, FLAG_WHITE_TO_MOVE | FLAG_WHITE_SHORT | FLAG_BLACK_LONG | 7, 0x82},
        {with("b KQkq e3\tD\t2", "x - -\tD\t128"), 1ull, 0, MAX_EARLIEST_PLY}}) {  // 'x': anything but 'w' is black
    ASSERT_TRUE(ParsePositionLine(line.data(), line.size(), record)) << line;
    EXPECT_EQ(std::tuple(record.Key(), int(record.flags), int(record.plyAndPassant), record.draws),
              std::tuple(key, flags, ply, 1u))
        << line;
  }
  for (const std::string& line :
       {with("0000000000000001", "000000000000001"), with("0000000000000001", "00000000000000012"),
        with("0000000000000001", "000000000000000G"), with("\tD\t", "\t*\t"), with("\tD\t", "\tw\t"),
        with("e3", "i3"), with("e3", "e9"), with("e3", "e3 0 1"), with("\t2", "\t-2"), with("\t2", "\tx"),
        with(" b ", " b"), with("R b", "R\tb"), with("pppppppp", "pppxpppp"), with(AFTER_E4, "b KQkq e3")}) {
    EXPECT_FALSE(ParsePositionLine(line.data(), line.size(), record)) << line;
  }
  for (size_t length = 0; length < good.size(); ++length) {
    std::unique_ptr<char[]> cut(new char[length + 1]);
    std::memcpy(cut.get(), good.data(), length);
    EXPECT_FALSE(ParsePositionLine(cut.get(), length, record)) << length;
  }
}

struct Build {
  bool created;
  std::string output, message;
  std::vector<PositionRecord> white, black;
};

// Builds w.db and b.db in the working folder from the lines of a position file.
Build CreateFrom(const std::string& lines) {
  WriteTextFile("games.pos", lines);
  PositionDatabase databases;
  Build build;
  build.output = CaptureOutput([&] { build.created = databases.CreateDatabases("games.pos", "w.db", "b.db"); });
  build.message = databases.Message().Text();
  build.white = ReadDatabase("w.db");
  build.black = ReadDatabase("b.db");
  return build;
}

auto Counts(const PositionRecord& r) {
  return std::tuple(r.Key(), r.whiteWins, r.blackWins, r.draws, int(r.flags), int(r.plyAndPassant));
}

TEST(DatabaseCreate, LinesOfOnePositionMergeAndAnotherPositionUnderItsKeyReplacesIt) {
  InTempDir dir;
  const std::string noPassant = AFTER_E4.substr(0, AFTER_E4.size() - 2) + "-";
  Build build = CreateFrom(PositionText(0x20, START, 'W', 14) + PositionText(0x20, START, 'D', 9) +
                           PositionText(0x20, START, 'D', 30) + PositionText(0x30, AFTER_E4, 'W', 2) +
                           PositionText(0x30, AFTER_E4, 'W', 2) + PositionText(0x30, noPassant, 'B', 6) +
                           PositionText(0x30, noPassant, 'D', 4) + PositionText(0x31, AFTER_E4, 'D', 3));
  ASSERT_TRUE(build.created) << build.message;
  ASSERT_EQ(build.white.size(), 1u);
  EXPECT_EQ(Counts(build.white[0]), std::tuple(0x20ull, 1u, 0u, 2u, 0xF8, 9));
  ASSERT_EQ(build.black.size(), 2u);
  EXPECT_EQ(Counts(build.black[0]), std::tuple(0x30ull, 0u, 1u, 1u, 0x78, 4));  // the games without e.p.
  EXPECT_EQ(Counts(build.black[1]), std::tuple(0x31ull, 0u, 0u, 1u, 0x7C, PLY_EN_PASSANT_GIVEN | 3));
}

// Short lines are passed over. Lines that do not parse are reported by both
// passes, numbered among the lines each pass counts, which leave out those of
// the other side to move. The rest of an over-long line is never read as a
// line of its own, even when it looks like one.
TEST(DatabaseCreate, BrokenLinesAreReportedAndSkipped) {
  InTempDir dir;
  const std::string unfinished = PositionText(2, START, '*', 1), noPly = "0000000000000003\t" + START + "\tD\n";
  std::string overlong = PositionText(4, START, 'W', 1);
  overlong.pop_back();
  overlong += std::string(MAX_POSITION_LINE - overlong.size(), ' ') + PositionText(5, START, 'W', 1);
  Build build = CreateFrom("\nshort line\n" + PositionText(1, START, 'W', 1) + unfinished + noPly + overlong +
                           PositionText(6, START, 'B', 1) + PositionText(7, AFTER_E4, 'D', 1));
  ASSERT_TRUE(build.created) << build.message;
  ASSERT_EQ(build.white.size(), 2u);
  EXPECT_EQ(build.white[1].Key(), 6u);
  ASSERT_EQ(build.black.size(), 1u);
  EXPECT_EQ(build.black[0].Key(), 7u);
  const size_t whitePass = build.output.find("'w.db'");
  const std::string error = "\nparse error skipped line: ";
  for (auto [report, pass] : {std::pair{error + "1\n" + unfinished, 0}, {error + "2\n" + noPly, 0},
                              {error + "3\n" + overlong.substr(0, 40), 0}, {error + "2\n" + unfinished, 1},
                              {error + "3\n" + noPly, 1}, {error + "4\n" + overlong.substr(0, 40), 1}}) {
    const size_t at = build.output.find(report, pass ? whitePass : 0);
    EXPECT_TRUE(at != std::string::npos && (at > whitePass) == pass) << report << "\nin\n" << build.output;
  }
  const std::string malformed = "garbage garbage garbage\n0123456789ABCDEF\n0123456789ABCDEF\tx y z\n";
  build = CreateFrom(malformed);
  EXPECT_TRUE(build.created && build.white.empty() && build.black.empty());

  // A position file named as the output is not emptied before it is read.
  PositionDatabase databases;
  EXPECT_FALSE(databases.CreateDatabaseSide("games.pos", "games.pos", 'W'));
  EXPECT_STREQ(databases.Message().Text(), "Cannot open file: games.pos\n");
  EXPECT_EQ(ReadFile("games.pos"), malformed);
}

// Many games over many positions: the records hold what a plain count of the
// lines says, and both searches find every key of the file and no other,
// asked in random order so that the record read last lies on either side.
TEST(DatabaseRoundTrip, EveryPositionIsFoundWithItsCounts) {
  const std::string fens[] = {"8/8/8/8/8/8/8/K6k w KQkq -", "r3k2r/8/8/8/8/8/8/R3K2R b - -",
                              "4k3/8/8/3pP3/8/8/8/4K3 w - d6", AFTER_E4};
  std::mt19937_64 random(20240601);
  std::map<u64, std::tuple<u32, u32, u32, int>> expected[2];  // by side to move: the three counts, earliest ply
  std::vector<std::string> lines;
  for (int position = 0; position < 400; ++position) {
    const u64 key = random() | 1;  // odd keys: even ones are in no file
    const std::string& fen = fens[random() % 4];
    auto& [whiteWins, blackWins, draws, earliest] = expected[fen.find(" w ") != std::string::npos][key];
    earliest = MAX_EARLIEST_PLY;
    for (int game = 0, games = 1 + static_cast<int>(random() % 4); game < games; ++game) {
      const char result = "WBD"[random() % 3];
      const int ply = 1 + static_cast<int>(random() % 200);
      ++(result == 'W' ? whiteWins : result == 'B' ? blackWins : draws);
      earliest = std::min(earliest, ply);
      lines.push_back(PositionText(key, fen, result, ply));
    }
  }
  std::stable_sort(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.substr(0, 16) < b.substr(0, 16); });
  InTempDir dir;
  Build build = CreateFrom(std::accumulate(lines.begin(), lines.end(), std::string()));
  ASSERT_TRUE(build.created) << build.message;
  EXPECT_EQ(std::pair(build.black.size(), build.white.size()), std::pair(expected[0].size(), expected[1].size()));
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases("w.db", "b.db"));
  const std::string scanOutput = CaptureOutput([&] {
    for (int side : {0, 1}) {
      std::vector<std::pair<u64, std::tuple<u32, u32, u32, int>>> records(expected[side].begin(), expected[side].end());
      std::shuffle(records.begin(), records.end(), random);
      for (bool linear : {false, true}) {
        auto find = [&](u64 key) {
          return linear ? databases.FindRecordLinear(side, KeyLow(key), KeyHigh(key))
                        : databases.FindRecord(side, KeyLow(key), KeyHigh(key));
        };
        for (const auto& [key, counts] : records) {
          auto found = find(key);
          ASSERT_TRUE(found.has_value()) << std::hex << key << " linear " << linear;
          EXPECT_EQ(std::tuple(found->whiteWins, found->blackWins, found->draws, found->EarliestPly()), counts);
          EXPECT_EQ(std::tuple(found->Key(), found->WhiteToMove()), std::tuple(key, side == 1));
          EXPECT_FALSE(find(key + 1) || find(key - 1));
        }
        EXPECT_FALSE(find(0) || find(~0ull - 1));
      }
    }
  });
  EXPECT_EQ(scanOutput, "");  // a sorted file has no "Sort ERROR"
}

// The scan reports every record out of order and ends at the first key above
// the one asked for; halving may miss keys, but never answers a wrong record.
TEST(DatabaseFind, AFileOutOfOrderIsReportedAndNeverGivesAWrongRecord) {
  InTempDir dir;
  std::vector<PositionRecord> records;  // white wins count 1, 2, 3 ... in file order
  for (u64 key : {1, 5, 3, 7, 2, 2, 9}) records.push_back(MakeRecord(key, u32(records.size() + 1), 0, 0, 3));
  WriteDatabase("w.db", records);
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases("w.db", "b.db"));
  std::optional<PositionRecord> found;
  auto scan = [&](u32 key) {
    return CaptureOutput([&] { found = databases.FindRecordLinear(DATABASE_WHITE_TO_MOVE, key, 0); });
  };
  EXPECT_EQ(scan(9), "Sort ERROR: current: 3, prev: 5\nSort ERROR: current: 2, prev: 7\nSort ERROR: current: 2, prev: 2\n");
  EXPECT_EQ(found->whiteWins, 7u);
  EXPECT_EQ(scan(5), "");
  EXPECT_EQ(found->whiteWins, 2u);
  EXPECT_EQ(scan(2), "");
  EXPECT_FALSE(found);
  for (u32 key = 0; key <= 10; ++key) {
    auto record = databases.FindRecord(DATABASE_WHITE_TO_MOVE, key, 0);
    EXPECT_TRUE(!record || record->Key() == key) << key;
  }
}

}  // namespace
