// "makebook" in process: the files of the step-by-step chain, games added once, failures; its sort against std::sort.
#include "pgn_test_files.h"
#include "support/resource_limit.h"
#include "book/book_builder.h"
#include "book/polyglot_choice.h"
#include "book/polyglot_key.h"
#include "book/position_database.h"
#include "tools/game_file.h"
#include "tools/line_sort.h"
#include "tools/position_lines.h"

const std::string BOOK_FILES[] = {"white.db", "black.db", "bookbtm.mbk", "bookbtm.mbx", "bookwtm.mbk", "bookwtm.mbx"};

static std::string SortedText(const std::string& text) {
  std::string sorted;
  for (const std::string& line : Lines(text, true)) sorted += line + "\n";
  return sorted;
}

// The games of the self-play collection from game first + 1 to game last.
static std::string GamesBetween(int first, int last) { return SelfPlayGames(last).substr(SelfPlayGames(first).size()); }

// Every file below a folder and its bytes.
static std::map<std::string, std::string> FilesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    files[entry.path().string()] = entry.is_directory() ? "<folder>" : ReadFile(entry.path().string());
  }
  return files;
}

static std::string Summary(int read, int added, int skipped, int inFile) {
  return std::to_string(read) + " games read, " + std::to_string(added) + " added, " + std::to_string(skipped) +
         " skipped; " + std::to_string(inFile) + " games in the book's game file, ";
}

using MakeBook = CommandsInAFolder;

// The chain by hand, with the lines sorted here, gives the same game file, databases and books byte for byte; the
// summary counts the position lines and the records of each book, and the work folder is gone.
TEST_F(MakeBook, GivesTheFilesOfTheStepByStepChain) {
  Position pos;
  WriteTextFile("games.pgn", ReadTestData("selfplay-300.pgn"));
  const std::string made = Run(pos, "makebook games.pgn into books");
  Run(pos, "pgn2game games.pgn games.game\ngame2pos games.game games.pos");
  WriteTextFile("sorted.pos", SortedText(ReadFile("games.pos")));
  Run(pos, "dbcreate sorted.pos games");
  std::filesystem::rename("games_white.db", "white.db");
  std::filesystem::rename("games_black.db", "black.db");
  Run(pos, "bookcreate");
  EXPECT_EQ(ReadFile("books/book.game"), ReadFile("games.game"));
  for (const std::string& name : BOOK_FILES) {
    EXPECT_EQ(ReadFile("books/" + name), ReadFile(name)) << name;
    EXPECT_GT(ReadFile(name).size(), 0u) << name;
  }
  const std::string entries = "book entries: bookbtm " + std::to_string(ReadFile("bookbtm.mbk").size() / 6) +
                              ", bookwtm " + std::to_string(ReadFile("bookwtm.mbk").size() / 6) + ", book.bin " +
                              std::to_string(ReadFile("books/book.bin").size() / 16) + "\n";
  EXPECT_NE(made.find(Summary(300, 300, 0, 300) + std::to_string(Lines(ReadFile("games.pos")).size()) +
                      " positions; " + entries),
            std::string::npos) << made;
  size_t at = 0;
  for (const char* stage : {"[1/5]", "[2/5]", "[3/5]", "[4/5]", "[5/5]", "makebook: done"}) {
    at = made.find(stage, at);
    EXPECT_NE(at, std::string::npos) << stage << "\n" << made;
  }
  EXPECT_FALSE(std::filesystem::exists("books/makebook.tmp"));
}

// A second run adds only the games the game file lacks, and the book is the one all the games make in one run.
TEST_F(MakeBook, ASecondPgnAddsOnlyItsNewGames) {
  Position pos;
  WriteTextFile("first.pgn", GamesBetween(0, 100));
  WriteTextFile("second.pgn", GamesBetween(50, 150));
  WriteTextFile("all.pgn", GamesBetween(0, 150));
  EXPECT_NE(Run(pos, "makebook first.pgn").find(Summary(100, 100, 0, 100)), std::string::npos);
  EXPECT_NE(Run(pos, "makebook second.pgn").find(Summary(100, 50, 50, 150)), std::string::npos);
  EXPECT_NE(Run(pos, "makebook all.pgn into once").find(Summary(150, 150, 0, 150)), std::string::npos);
  EXPECT_EQ(ReadFile("book.game"), ReadFile("once/book.game"));
  for (const std::string& name : BOOK_FILES) EXPECT_EQ(ReadFile(name), ReadFile("once/" + name)) << name;
  EXPECT_EQ(ReadFile("book.bin"), ReadFile("once/book.bin"));
}

// Every position of every game in the game file, walked here move by move: the entries of its Polyglot key in
// book.bin are exactly its legal moves that lead into a position the books take, by the database records found for
// the keys the game's moves make, each weighted 2 x wins + draws of the side that moves (added up over the keys of ours
// the position has: en-passant squares and castlings make more than one); heaviest first. book.bin holds no other key,
// in order.
TEST_F(MakeBook, ThePolyglotBookHoldsTheMovesIntoTheBooksWeightedByTheirResults) {
  Position pos;
  WriteTextFile("games.pgn", ReadTestData("selfplay-300.pgn"));
  ASSERT_NE(Run(pos, "makebook games.pgn into books").find("makebook: done"), std::string::npos);
  PositionDatabase databases;
  ASSERT_TRUE(databases.OpenDatabases("books/white.db", "books/black.db"));
  FileHandle games(std::fopen("books/book.game", "rb"));
  std::set<std::pair<u64, u32>> walked;        // our key and the side to move
  std::map<u64, std::map<u16, u32>> expected;  // by Polyglot key: move field, weight
  for (GameRecord game; ReadGame(game, games.get());) {
    Load(pos, INITIAL_POSITION);
    const int plies = std::min(PlyCountOf(game.header), POSITION_LINE_LIMIT);
    for (int ply = 0; ply < plies; ++ply) {
      std::map<u16, u32>& moves = expected[PolyglotKey(pos)];
      const int mover = static_cast<int>(pos.SideToMove);
      for (Move move : walked.emplace(pos.HashKey, pos.SideToMove).second ? LegalMoves(pos) : std::vector<Move>()) {
        WithMoveMade(pos, move, [&] {
          const std::optional<PositionRecord> record =
              databases.FindRecord(static_cast<int>(pos.SideToMove), KeyLow(pos.HashKey), KeyHigh(pos.HashKey));
          if (!record || !BookTakesRecord(static_cast<int>(pos.SideToMove), *record)) return;
          moves[PolyglotMoveOf(move)] += 2 * (mover == WHITE ? record->whiteWins : record->blackWins) + record->draws;
        });
      }
      SavePositionForUndo(pos, pos.UndoRecords[ply]);
      MakeMove(pos, game.moves[ply], pos.UndoRecords[ply]);
    }
  }
  PolyglotBook book;
  ASSERT_TRUE(book.Open("books/book.bin")) << book.Message().Text();
  size_t positionsWithMoves = 0;
  for (const auto& [key, moves] : expected) {
    std::map<u16, u32> found;
    u32 lastWeight = 0xffff;
    for (const PolyglotEntry& entry : book.EntriesOf(key)) {
      EXPECT_TRUE(found.emplace(entry.move, entry.weight).second);
      EXPECT_LE(entry.weight, lastWeight);
      lastWeight = entry.weight;
    }
    EXPECT_EQ(found, moves) << std::hex << key;
    positionsWithMoves += !found.empty();
  }
  EXPECT_GT(positionsWithMoves, 1000u);
  const std::string bytes = ReadFile("books/book.bin");
  u64 previous = 0;
  for (size_t at = 0; at < bytes.size(); at += 16) {
    u64 key = 0;
    for (size_t i = 0; i < 8; ++i) key = key << 8 | static_cast<u8>(bytes[at + i]);
    EXPECT_LE(previous, key);
    EXPECT_TRUE(expected.count(key)) << std::hex << key;
    previous = key;
  }
}

// Each failure, at whatever stage, and each refusal leaves every file of the book's folder as it was, game file
// included, and no work folder. Had it succeeded, the new games would have changed them all.
TEST_F(MakeBook, AFailureOrARefusalLeavesTheBookAsItWas) {
  Position pos;
  WriteTextFile("old.pgn", GamesBetween(0, 100));
  WriteTextFile("new.pgn", GamesBetween(100, 300));
  WriteTextFile("bad.pgn", GamesBetween(100, 300) + "[Result \"1-0\"]\n1. e4 e4 1-0\n");
  const auto folder = [](const char* name) { std::filesystem::create_directories(std::filesystem::path(name) / "inside"); };
  const struct {
    const char* what;
    std::function<void()> setUp;
    std::string command, message;
    rlim_t fileSizeLimit = RLIM_INFINITY;
  } cases[] = {
      {"a PGN file that cannot be read", [] {}, "new.pgn missing.pgn", "Cannot open PGN input file: 'missing.pgn'\n"},
      {"a PGN file with an illegal move", [] {}, "bad.pgn", "ERROR: MOVE NOT LEGAL 1 file: bad.pgn\n"},
      {"a full disk, at the sort", [] {}, "new.pgn", "Cannot write file: books/makebook.tmp/positions.pos\n",
       300'000},  // more than a sixteenth of the positions, less than all of them
      {"a database that cannot be written", [&] { folder("books/makebook.tmp/black.db"); }, "new.pgn",
       "Cannot open file: books/makebook.tmp/black.db\n"},
      {"a book that cannot be written", [&] { folder("books/makebook.tmp/bookbtm.mbx"); }, "new.pgn",
       "Cannot create index file: 'books/makebook.tmp/bookbtm.mbx'\n"},
      {"a Polyglot book that cannot be written", [&] { folder("books/makebook.tmp/book.bin"); }, "new.pgn",
       "Cannot create file: 'books/makebook.tmp/book.bin'\n"},
      {"the Polyglot book named as a PGN file", [] {}, "new.pgn books/book.bin",
       "makebook: refused: it would write 'books/book.bin', which is the PGN file 'books/book.bin'\n"},
      {"a folder where a book file goes",
       [&] { std::filesystem::remove("books/bookwtm.mbx"), folder("books/bookwtm.mbx"); }, "new.pgn",
       "makebook: cannot replace 'books/bookwtm.mbx': it is a folder\n"},
      {"the game file named as a PGN file", [] {}, "new.pgn books/book.game",
       "makebook: refused: it would write 'books/book.game', which is the PGN file 'books/book.game'\n"},
      {"a PGN file linked to a database", [] { link("books/white.db", "linked.pgn"); }, "linked.pgn",
       "makebook: refused: it would write 'books/white.db', which is the PGN file 'linked.pgn'\n"},
      {"a PGN file in the work folder",
       [&] { folder("books/makebook.tmp"), WriteTextFile("books/makebook.tmp/run0", "x"); }, "books/makebook.tmp/run0",
       "makebook: refused: the PGN file 'books/makebook.tmp/run0' is in 'books/makebook.tmp', where makebook writes "
       "its work files\n"},
  };
  for (const auto& failure : cases) {
    SCOPED_TRACE(failure.what);
    std::filesystem::remove_all("books");
    std::filesystem::remove("linked.pgn");
    ASSERT_NE(Run(pos, "makebook old.pgn into books").find("makebook: done"), std::string::npos);
    failure.setUp();
    const std::map<std::string, std::string> before = FilesBelow("books");
    std::string output;
    {
      ResourceLimit limit(RLIMIT_FSIZE, failure.fileSizeLimit);
      output = Run(pos, "makebook " + failure.command + " into books");
    }
    EXPECT_NE(output.find(failure.message + "makebook: failed; the book in 'books' is as it was\n"),
              std::string::npos) << output;
    std::map<std::string, std::string> after = FilesBelow("books");
    for (auto& [name, contents] : after) EXPECT_EQ(contents, before.count(name) ? before.at(name) : "") << name;
    for (auto& [name, contents] : before) {
      EXPECT_TRUE(after.count(name) || name.starts_with("books/makebook.tmp")) << name;
    }
    EXPECT_FALSE(std::filesystem::exists("books/makebook.tmp/positions.pos"));
  }
  for (const char* line : {"makebook", "makebook into books", "makebook new.pgn into", "makebook new.pgn into a b"}) {
    EXPECT_EQ(Run(pos, line), "usage: makebook PGN... [into FOLDER]\n") << line;
  }
}

// Lines sorted in runs of every size, down to one line a run, and merged, as std::sort sorts them: bytes above 0x7f
// after the others, a line before the longer lines it begins, a last line without its line end, empty lines.
TEST(LineSort, RunsOfAnySizeMergeToTheOrderOfStdSort) {
  InTempDir dir;
  std::string text = "b\n\n\xc3\xa9t\xc3\xa9\nabc\nab\nzz\nab\nB\n\n";
  for (int i = 0; i < 300; ++i) text += std::to_string(i * 7919 % 1000) + "\t" + std::string(i % 5, 'x') + "\n";
  WriteTextFile("lines", text + "last");
  WriteTextFile("empty", "");
  for (size_t budget : {size_t{1}, size_t{10}, size_t{1000}, LINE_SORT_BUDGET}) {
    LineSort sort{"run", budget};
    FileHandle out(std::fopen("sorted", "w"));
    ASSERT_TRUE(AppendSortedLines("lines", out.get(), sort) && AppendSortedLines("empty", out.get(), sort));
    out.reset();
    EXPECT_EQ(ReadFile("sorted"), SortedText(text + "last")) << budget;
    EXPECT_EQ(sort.lines, Lines(text).size() + 1);
    EXPECT_FALSE(std::filesystem::exists("run0"));
  }
  LineSort sort{"run"};
  EXPECT_FALSE(AppendSortedLines("missing", stdout, sort));
}
