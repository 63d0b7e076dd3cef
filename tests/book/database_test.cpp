// Position databases: lines parsed, boards packed, databases built from lines written here, searched two ways.
#include <cstring>
#include <random>

#include "book/position_database.h"
#include "book/position_line.h"
#include "book_test_files.h"

// The codes of a placement as hexadecimal digits, high nibble first; "" when refused.
static std::string Packed(const std::string& placement) {
  u8 board[PACKED_BOARD_SIZE];
  if (!PackBoard(placement.data(), placement.size(), board)) return "";
  std::string codes;
  for (u8 byte : board) codes += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
  return codes;
}

TEST(PackedBoard, PlacementsPackIntoFourBitCodes) {
  const std::pair<std::string, std::string> cases[] = {  // placement, the codes before the filler 'f'
      {"BKNPQRbknpqr", "456789abcdef"}, {"1", "0"}, {"4", "3"}, {"5", "30"}, {"7k", "32b"},
      {"8/8/8/8/8/8/8/8", std::string(16, '3')}, {std::string(70, 'P'), std::string(64, '7')},
      {std::string(63, 'P') + "8", std::string(63, '7') + "3"},  // the last code: an eight's first run
  };
  for (const auto& [placement, codes] : cases)
    EXPECT_EQ(Packed(placement), codes + std::string(64 - codes.size(), 'f')) << placement;
  for (std::string bad : {"", "rnbqkbnr/ppppxppp", "9", "0p", "8/8/8/8/8/8/8/7K\t"}) EXPECT_EQ(Packed(bad), "") << bad;
}

// Lines are the good one with one piece changed. A cut line fills a buffer of its own size: ASan shows a read past.
TEST(PositionLine, BrokenLinesAreRefused) {
  const std::string good = "0000000000000001\t" + AFTER_E4 + "\tD\t2";
  auto with = [&](const std::string& from, const std::string& to) {
    std::string line = good;
    return line.replace(line.find(from), from.size(), to);
  };
  PositionRecord record;
  ASSERT_TRUE(ParsePositionLine(good.data(), good.size(), record));
  for (const std::string& line :
       {with("0000000000000001", "000000000000001"), with("0000000000000001", "00000000000000012"),
        with("0000000000000001", "000000000000000G"), with("\tD\t", "\t*\t"), with("\tD\t", "\tw\t"),
        with("e3", "i3"), with("e3", "e9"), with("e3", "e3 0 1"), with("\t2", "\t-2"), with("\t2", "\tx"),
        with(" b ", " b"), with("R b", "R\tb"), with("pppppppp", "pppxpppp"), with(AFTER_E4, "b KQkq e3")}) {
    EXPECT_FALSE(ParsePositionLine(line.data(), line.size(), record)) << line;
  }
  for (size_t length = 0; length < good.size(); ++length) {
    std::unique_ptr<char[]> cut(new char[length + 1]);
    EXPECT_FALSE(ParsePositionLine(static_cast<char*>(std::memcpy(cut.get(), good.data(), length)), length, record));
  }
}

// Builds w.db and b.db in the working folder from position lines; what it printed.
static std::string CreateFrom(const std::string& lines) {
  WriteTextFile("games.pos", lines);
  PositionDatabase databases;
  bool created = false;
  std::string output = CaptureOutput([&] { created = databases.CreateDatabases("games.pos", "w.db", "b.db"); });
  EXPECT_TRUE(created) << databases.Message().Text();
  return output;
}

static auto Counts(const PositionRecord& r) {
  return std::tuple(r.Key(), r.whiteWins, r.blackWins, r.draws, int(r.flags), int(r.plyAndPassant));
}

// Lines of one position merge; another position under the same key replaces it. Lines that do not parse are reported by
// both passes, numbered among the lines each counts: not short ones, nor those of the other side to move. The rest of
// an over-long line is never read as a line, even when it looks one.
TEST(DatabaseCreate, LinesMergeOrReplaceAndBrokenLinesAreReportedAndSkipped) {
  Position pos;
  InTempDir dir;
  const std::string noPassant = AFTER_E4.substr(0, AFTER_E4.size() - 2) + "-";
  const std::string unfinished = PositionText(2, START, '*', 1), noPly = "0000000000000003\t" + START + "\tD\n";
  std::string overlong = PositionText(4, START, 'W', 1);
  overlong.pop_back();
  overlong += std::string(MAX_POSITION_LINE - overlong.size(), ' ') + PositionText(5, START, 'W', 1);
  const std::string output = CreateFrom(
      "\nshort line\n" + PositionText(1, START, 'W', 1) + unfinished + noPly + overlong +
      PositionText(6, START, 'B', 1) + PositionText(7, AFTER_E4, 'D', 1) + PositionText(32, START, 'W', 14) +
      PositionText(32, START, 'D', 9) + PositionText(32, START, 'D', 30) + PositionText(48, AFTER_E4, 'W', 2) +
      PositionText(48, AFTER_E4, 'W', 2) + PositionText(48, noPassant, 'B', 6) + PositionText(48, noPassant, 'D', 4) +
      "000000000000003a\trnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR x KXq h3\tD\t128\r\n");
  const std::vector<PositionRecord> white = ReadDatabase("w.db"), black = ReadDatabase("b.db");
  ASSERT_TRUE(white.size() == 3 && black.size() == 3);
  EXPECT_EQ(std::tuple(white[0].Key(), white[1].Key(), black[0].Key()), std::tuple(1ull, 6ull, 7ull));
  EXPECT_EQ(Counts(white[2]), std::tuple(32ull, 1u, 0u, 2u, 0xF8, 9));
  EXPECT_EQ(Counts(black[1]), std::tuple(48ull, 0u, 1u, 1u, 0x78, 4));  // the games without e.p.
  // Lower-case digits; anything but 'w' is black; letters but KQkq set no right; plies are held at 127.
  EXPECT_EQ(Counts(black[2]), std::tuple(0x3Aull, 0u, 0u, 1u, FLAG_WHITE_SHORT | FLAG_BLACK_LONG | 7, 0xFF));
  const size_t whitePass = output.find("'w.db'");
  const std::string error = "\nparse error skipped line: ";
  for (auto [report, pass] : {std::pair{error + "1\n" + unfinished, 0}, {error + "2\n" + noPly, 0},
                              {error + "3\n" + overlong.substr(0, 40), 0}, {error + "2\n" + unfinished, 1},
                              {error + "3\n" + noPly, 1}, {error + "4\n" + overlong.substr(0, 40), 1}}) {
    const size_t at = output.find(report, pass ? whitePass : 0);
    EXPECT_TRUE(at != std::string::npos && (at > whitePass) == pass) << report << "\nin\n" << output;
  }
  // A position file named as the output is not emptied before it is read.
  const std::string lines = ReadFile("games.pos");
  PositionDatabase databases;
  EXPECT_FALSE(databases.CreateDatabaseSide("games.pos", "games.pos", 'W'));
  EXPECT_STREQ(databases.Message().Text(), "Cannot open file: games.pos\n");
  EXPECT_EQ(ReadFile("games.pos"), lines);
}

// Many games over many positions: the records hold what a plain count of the lines says, and both searches find every
// key of the file and no other, asked in random order so that the record read last lies on either side.
TEST(DatabaseRoundTrip, EveryPositionIsFoundWithItsCounts) {
  Position pos;
  const std::string fens[2] = {AFTER_E4, "4k3/8/8/3pP3/8/8/8/4K3 w - d6"};  // by side to move
  std::mt19937_64 random(20240601);
  std::map<u64, int> sideOf;  // odd keys: even ones are in no file
  while (sideOf.size() < 400) sideOf[random() | 1] = static_cast<int>(random() % 2);
  std::vector<std::pair<u64, std::tuple<u32, u32, u32, int>>> expected[2];  // the three counts and the earliest ply
  std::string lines;
  for (const auto& [key, side] : sideOf) {
    auto& [whiteWins, blackWins, draws, earliest] =
        expected[side].emplace_back(key, std::tuple(0u, 0u, 0u, MAX_EARLIEST_PLY)).second;
    for (int game = static_cast<int>(random() % 4); game >= 0; --game) {
      const char result = "WBD"[random() % 3];
      const int ply = 1 + static_cast<int>(random() % 200);
      ++(result == 'W' ? whiteWins : result == 'B' ? blackWins : draws);
      earliest = std::min(earliest, ply);
      lines += PositionText(key, fens[side], result, ply);
    }
  }
  InTempDir dir;
  CreateFrom(lines);
  EXPECT_EQ(std::pair(ReadDatabase("b.db").size(), ReadDatabase("w.db").size()),
            std::pair(expected[0].size(), expected[1].size()));
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases("w.db", "b.db"));
  const std::string scanOutput = CaptureOutput([&] {
    for (int side : {0, 1}) {
      std::shuffle(expected[side].begin(), expected[side].end(), random);
      for (bool linear : {false, true}) {
        auto find = [&](u64 key) {
          return linear ? databases.FindRecordLinear(side, KeyLow(key), KeyHigh(key))
                        : databases.FindRecord(side, KeyLow(key), KeyHigh(key));
        };
        for (const auto& [key, counts] : expected[side]) {
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

// The scan reports each record out of order and ends at the first key above the one asked; halving may miss keys, but
// never answers a wrong record.
TEST(DatabaseFind, AFileOutOfOrderIsReportedAndNeverGivesAWrongRecord) {
  InTempDir dir;
  std::vector<PositionRecord> records;  // white wins count 1, 2, 3 ... in file order
  for (u64 key : {1, 5, 3, 7, 2, 2, 9}) records.push_back(MakeRecord(key, u32(records.size() + 1), 0, 0, 3));
  WriteDatabase("w.db", records);
  WriteDatabase("b.db", {});
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases("w.db", "b.db"));
  const std::string disorder =
      "Sort ERROR: current: 3, prev: 5\nSort ERROR: current: 2, prev: 7\nSort ERROR: current: 2, prev: 2\n";
  for (auto [key, printed, whiteWins] : {std::tuple{9u, disorder, 7u}, {5u, "", 2u}, {2u, "", 0u}}) {
    std::optional<PositionRecord> found;
    EXPECT_EQ(CaptureOutput([&] { found = databases.FindRecordLinear(DATABASE_WHITE_TO_MOVE, key, 0); }), printed);
    EXPECT_EQ(found ? found->whiteWins : 0u, whiteWins) << key;
  }
  for (u32 key = 0; key <= 10; ++key) {
    auto record = databases.FindRecord(DATABASE_WHITE_TO_MOVE, key, 0);
    EXPECT_TRUE(!record || record->Key() == key) << key;
  }
}
