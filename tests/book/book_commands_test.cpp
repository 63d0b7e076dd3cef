// The book and database commands run by the built engine over pipes in a folder of its own: output and files left.
#include "book_test_files.h"

using namespace std::string_literals;

const std::string AFTER_D4 = "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3";

// What "bookcreate" prints when it builds both books, with white's score in each database.
static std::string Created(const std::string& blackToMove, const std::string& whiteToMove) {
  return "Generating bookbtm...\nbookbtm: " + blackToMove + "\nGenerating bookwtm...\nbookwtm: " + whiteToMove +
         "\ncreated.\n";
}

// Eleven records, each with its fate worked out by hand: white steers into "bookbtm" when it scored at least 0.53,
// black into "bookwtm" when white scored at most 0.52, either only by 0.54 after ply 11, never after 60.
const std::pair<PositionRecord, std::vector<bool>> ENTRIES[] = {  // the record, in bookbtm and in bookwtm
    {MakeRecord(0x0000000000000001, 3, 1, 0, 5), {true, false}},     // 0.75
    {MakeRecord(0x0000000000000002, 1, 1, 0, 5), {false, true}},     // 0.50
    {MakeRecord(0x0000000100000000, 53, 47, 0, 20), {true, false}},  // 0.53, late
    {MakeRecord(0x0000800000000005, 1, 0, 1, 61), {false, false}},   // too late
    {MakeRecord(0x0000800000000007, 2, 0, 0, 60), {true, false}},
    {MakeRecord(0x123456789ABCDEF0, 0, 0, 0, 1), {false, false}},    // no games
    {MakeRecord(0x4000000000000000, 11, 9, 0, 12), {true, false}},   // 0.55, late
    {MakeRecord(0x4000000000000001, 13, 12, 0, 50), {false, true}},  // 0.52
    {MakeRecord(0x8000000000000001, 1, 0, 0, 1), {true, false}},     // the first key but for the top bit
    {MakeRecord(0xFFFFFFFFFFFFFFFE, 54, 46, 0, 11), {true, true}},   // 0.54, early
    {MakeRecord(0xFFFFFFFFFFFFFFFF, 0, 0, 7, 30), {false, true}},    // 0.50
};

// Built over larger old files. Then a records file that takes no bytes (a link to /dev/full, as on a full disk) and an
// index that cannot be created fail their side alone, and an unsorted database is refused.
TEST(BookCommands, EachBookHoldsTheRecordsWorkedOutByHand) {
  InTempDir dir;
  std::vector<PositionRecord> records;
  std::vector<u64> taken[2];
  for (const auto& [record, inBook] : ENTRIES) {
    records.push_back(record);
    for (int side : {0, 1}) if (inBook[side]) taken[side].push_back(record.Key());
  }
  WriteDatabase("white.db", records);
  WriteDatabase("black.db", records);
  WriteTextFile("bookbtm.mbk", std::string(600, 'x'));
  WriteTextFile("bookwtm.mbx", std::string(BOOK_INDEX_SIZE + 10, 'x'));
  // Each side: (139 + 8/2) / (139 + 116 + 8).
  EXPECT_EQ(RunEngine("bookcreate\nquit\n", dir.Path()).output, Created("0.543726", "0.543726"));
  for (int side : {0, 1}) {
    EXPECT_EQ(ReadFile(BOOK_NAMES[side] + ".mbk"s), BookRecordBytes(taken[side])) << side;
    EXPECT_EQ(ReadFile(BOOK_NAMES[side] + ".mbx"s), BookIndexBytes(taken[side])) << side;
  }

  std::filesystem::remove("bookbtm.mbk");
  std::filesystem::create_symlink("/dev/full", "bookbtm.mbk");
  EXPECT_EQ(RunEngine("bookcreate\nquit\n", dir.Path()).output,
            "Generating bookbtm...\nWriting records file error!\nGenerating bookwtm...\nbookwtm: 0.543726\ncreated.\n");
  std::filesystem::remove("bookbtm.mbx");
  std::filesystem::create_directory("bookbtm.mbx");
  WriteDatabase("white.db", {MakeRecord(5, 1, 0, 0, 1), MakeRecord(3, 1, 0, 0, 1)});
  EXPECT_EQ(RunEngine("bookcreate\nquit\n", dir.Path()).output,
            "Generating bookbtm...\nCannot create index file: 'bookbtm.mbx'\n"
            "Generating bookwtm...\nWrong file format 'white.db'.\ncreated.\n");
  EXPECT_NE(ReadFile("bookwtm.mbx").size(), BOOK_INDEX_SIZE);  // the book left behind will not open
}

// Key 0 is the key before any position is loaded; "white"/"black" choose the database shown. /dev/full is reported.
TEST(BookCommands, DatabasesAndBooksAreBuiltAndShown) {
  Position pos;
  InTempDir dir;
  WriteTextFile("games.pos",
                PositionText(0, START, 'W', 1) + PositionText(0, START, 'W', 1) + PositionText(0, START, 'D', 1) +
                    PositionText(0, AFTER_E4, 'B', 2) + PositionText(0x0123456789ABCDEF, AFTER_E4, 'W', 2) +
                    PositionText(0x0123456789ABCDEF, AFTER_E4, 'W', 9) + PositionText(1ull << 63, AFTER_D4, 'B', 2) +
                    PositionText(1ull << 63, AFTER_D4, 'D', 2));
  std::filesystem::create_symlink("/dev/full", "full_black.db");
  EXPECT_EQ(RunEngine("dbcreate games.pos test\ndbcreate games.pos full\nquit\n", dir.Path()).output,
            "creating new database 'test_black.db':  0%\b\b\b\b 61%\b\b\b\b 87%\b\b\b\b100%... done.\n"
            "creating new database 'test_white.db':  0%\b\b\b\b100%... done.\ncreated.\n"
            "creating new database 'full_black.db':  0%\b\b\b\b 61%\b\b\b\b 87%Cannot write file: full_black.db\n\n");
  // The second record of black: its key, the position after 1.e4 packed code by code, black to move with every castling
  // right and the e-file for e.p., e.p. given and earliest ply 2, two white wins.
  const std::string black = ReadFile("test_black.db");
  EXPECT_EQ(black.size(), 3 * POSITION_RECORD_SIZE);
  EXPECT_EQ(black.substr(POSITION_RECORD_SIZE, POSITION_RECORD_SIZE),
            "\xEF\xCD\xAB\x89\x67\x45\x23\x01\xFC\xAE\xBA\xCF\xDD\xDD\xDD\xDD\x33\x33\x37\x23\x37\x77\x70\x77\x79\x64"
            "\x85\x46\x9F\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7C\x82\x02\0\0\0\0\0\0\0\0\0\0\0"s);

  std::filesystem::rename("test_white.db", "white.db");
  std::filesystem::rename("test_black.db", "black.db");
  const std::string output = RunEngine("bookcreate\nwhite\ndbshow\nblack\ndbshowlin\nquit\n", dir.Path()).output;
  // Black to move: 0 (b 1), ...EF (w 2), 8000... (b 1, d 1): 2.5 of 5 to white. White to move: 0 (w 2, d 1).
  EXPECT_TRUE(output.starts_with(Created("0.500000", "0.833333"))) << output;
  const size_t white = output.find("w: 2, b: 0, d: 1, score: 0.833333\n");
  const size_t scan = output.find("Sort ERROR: current: 0, prev: 0\nw: 0, b: 1, d: 0, score: 0.000000\n");
  EXPECT_TRUE(white != std::string::npos && scan != std::string::npos && white < scan) << output;
}

// Without both databases nothing is shown or built, no file is created and the old books stay. Empty databases make
// empty books, which open and hold nothing. Unsorted keys stop a build at the offending line, keeping the records
// before it; a file that is no database is refused by every command.
TEST(BookCommands, EmptyAndBrokenFiles) {
  Position pos;
  InTempDir dir;
  WriteTextFile("bookwtm.mbk", "old book");
  for (const auto& [present, missing] : {std::pair{"", "black.db"}, {"white.db", "black.db"}, {"black.db", "white.db"}}) {
    if (*present) WriteDatabase(present, {MakeRecord(1, 1, 0, 0, 1)});
    const std::string refused = "Cannot open file: "s + missing + "\n\n";
    EXPECT_EQ(RunEngine("dbshow\ndbshowlin\nbookcreate\nquit\n", dir.Path()).output, refused + refused + refused);
    EXPECT_FALSE(std::filesystem::exists(missing) || std::filesystem::exists("bookwtm.mbx")) << present;
    EXPECT_EQ(ReadFile("bookwtm.mbk"), "old book");
    if (*present) std::filesystem::remove(present);
  }
  WriteTextFile("white.db", "");
  WriteTextFile("black.db", "");
  EngineRun run = RunEngine("dbshow\nbookcreate\nquit\n", dir.Path());
  std::string emptyBoard;  // no position is loaded yet
  for (char rank = '8'; rank >= '1'; --rank) emptyBoard += std::string("\n") + rank + " . . . . . . . . ";
  EXPECT_EQ(run.output, emptyBoard + "\n\n  A B C D E F G H\nrecord not found.\n" + Created("0.000000", "0.000000"));
  EXPECT_EQ(ReadFile("bookbtm.mbx"), BookIndexBytes({}));

  WriteTextFile("games.pos",
                PositionText(14, START, 'W', 1) + PositionText(16, START, 'W', 1) + PositionText(15, START, 'W', 1));
  WriteTextFile("black.db", "not a database");
  run = RunEngine("new\nbookshow\ndbcreate games.pos s\ndbcreate missing.pos x\ndbshow\nbookcreate\ndbcreate\n",
                  dir.Path());
  EXPECT_EQ(run.startup.find("BOOK ERROR"), std::string::npos) << run.startup;  // empty books open
  EXPECT_EQ(run.output,
            "NO\ncreating new database 's_black.db':  0%\b\b\b\b100%... done.\n"
            "creating new database 's_white.db':  0%\b\b\b\b 66%"  // two of three equal lines read
            "ERROR: input file with positions not sorted by hash!\n" +
                PositionText(15, START, 'W', 1) + "\nCannot open file statistics: missing.pos\n\n" +
                "Wrong file format 'black.db'.\n\nWrong file format 'black.db'.\n\n");
  EXPECT_EQ(ReadFile("s_white.db").size(), 2 * POSITION_RECORD_SIZE);
  EXPECT_FALSE(std::filesystem::exists("x_black.db"));
}
