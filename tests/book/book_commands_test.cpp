// The book and database commands: the built engine over pipes in a folder of
// its own, and "bookshow" in this process against the engine's book.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "board/position.h"
#include "book/opening_book.h"
#include "book_test_files.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

namespace {

const std::string START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const std::string AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";
const std::string AFTER_D4 = "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3";

// Key 0 is the position the engine holds before anything is loaded: the
// commands can look it up with "white" and "black" alone.
const std::string POSITIONS = PositionText(0, START, 'W', 1) + PositionText(0, START, 'W', 1) +
                              PositionText(0, START, 'D', 1) + PositionText(0, AFTER_E4, 'B', 2) +
                              PositionText(0x0123456789ABCDEFull, AFTER_E4, 'W', 2) +
                              PositionText(0x0123456789ABCDEFull, AFTER_E4, 'W', 9) +
                              PositionText(0x8000000000000000ull, AFTER_D4, 'B', 2) +
                              PositionText(0x8000000000000000ull, AFTER_D4, 'D', 2);

TEST(BookCommands, DatabasesAndBooksAreBuiltAndShown) {
  TempDir dir;
  WriteTextFile(dir.File("games.pos"), POSITIONS);
  EngineRun create = RunEngine("dbcreate games.pos test\nquit\n", dir.Path());
  EXPECT_EQ(create.exitCode, 0);
  EXPECT_EQ(create.output,
            "creating new database 'test_black.db':  0%\b\b\b\b 61%\b\b\b\b 87%\b\b\b\b100%... done.\n"
            "creating new database 'test_white.db':  0%\b\b\b\b100%... done.\n"
            "created.\n");
  EXPECT_EQ(std::filesystem::file_size(dir.File("test_black.db")), 3 * POSITION_RECORD_SIZE);
  EXPECT_EQ(std::filesystem::file_size(dir.File("test_white.db")), 1 * POSITION_RECORD_SIZE);

  std::filesystem::rename(dir.File("test_white.db"), dir.File("white.db"));
  std::filesystem::rename(dir.File("test_black.db"), dir.File("black.db"));
  EngineRun books = RunEngine("bookcreate\nwhite\ndbshow\nblack\ndbshowlin\nquit\n", dir.Path());
  EXPECT_EQ(books.exitCode, 0);
  // Black to move: 0 (b 1), ...EF (w 2), 8000... (b 1, d 1): 2.5 of 5 to white.
  // White to move: 0 (w 2, d 1).
  EXPECT_EQ(books.output.substr(0, books.output.find("created.\n") + 9),
            "Generating bookbtm...\n"
            "bookbtm: 0.500000\n"
            "Generating bookwtm...\n"
            "bookwtm: 0.833333\n"
            "created.\n");
  size_t white = books.output.find("w: 2, b: 0, d: 1, score: 0.833333\n");
  size_t black = books.output.find("w: 0, b: 1, d: 0, score: 0.000000\n");
  EXPECT_NE(white, std::string::npos) << books.output;
  EXPECT_NE(black, std::string::npos) << books.output;
  EXPECT_LT(white, black);
  // The scan holds a first key of 0 for out of order, and goes on.
  EXPECT_NE(books.output.find("Sort ERROR: current: 0, prev: 0\nw: 0, b: 1"), std::string::npos);

  // White steers into ...EF (1.0); black steers into 0 (0.0) and 8000... (0.25).
  EXPECT_EQ(std::filesystem::file_size(dir.File("bookbtm.mbk")), 6u);
  EXPECT_EQ(std::filesystem::file_size(dir.File("bookwtm.mbk")), 0u);
  EXPECT_EQ(std::filesystem::file_size(dir.File("bookbtm.mbx")), BOOK_INDEX_SIZE);
  EXPECT_EQ(std::filesystem::file_size(dir.File("bookwtm.mbx")), BOOK_INDEX_SIZE);
}

TEST(BookCommands, AFreshFolderGetsEmptyDatabasesAndBooks) {
  TempDir dir;
  EngineRun run = RunEngine("dbshow\ndbshowlin\nbookcreate\nquit\n", dir.Path());
  // No position is loaded yet: the diagram shows an empty board.
  std::string emptyBoard;
  for (int rank = 8; rank >= 1; --rank) {
    emptyBoard.append("\n").append(1, static_cast<char>('0' + rank)).append(" . . . . . . . . ");
  }
  emptyBoard += "\n\n  A B C D E F G H\n";
  EXPECT_EQ(run.output,
            emptyBoard + "record not found.\n" + emptyBoard +
            "record not found.\n"
            "Generating bookbtm...\n"
            "bookbtm: 0.000000\n"
            "Generating bookwtm...\n"
            "bookwtm: 0.000000\n"
            "created.\n");
  EXPECT_EQ(std::filesystem::file_size(dir.File("white.db")), 0u);
  EXPECT_EQ(std::filesystem::file_size(dir.File("black.db")), 0u);
  EXPECT_EQ(ReadFile(dir.File("bookbtm.mbx")), std::string(BOOK_INDEX_SIZE, '\0'));
}

TEST(BookCommands, FailuresPrintTheirMessage) {
  TempDir dir;
  WriteTextFile(dir.File("black.db"), "not a database");
  EngineRun run = RunEngine("dbcreate missing.pos x\ndbshow\nbookcreate\ndbcreate\n", dir.Path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "Cannot open file statistics: missing.pos\n\n"
            "Wrong file format 'black.db'.\n\n"
            "Wrong file format 'black.db'.\n\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("x_black.db")));
}

TEST(BookCommands, UnsortedPositionsStopTheBuild) {
  TempDir dir;
  WriteTextFile(dir.File("games.pos"), PositionText(0x10, START, 'W', 1) + PositionText(0x0F, START, 'W', 1));
  EngineRun run = RunEngine("dbcreate games.pos s\nquit\n", dir.Path());
  EXPECT_EQ(run.output,
            "creating new database 's_black.db':  0%\b\b\b\b100%... done.\n"
            "creating new database 's_white.db':  0%"
            "ERROR: input file with positions not sorted by hash!\n" +
                PositionText(0x0F, START, 'W', 1) + "\n");
  EXPECT_EQ(std::filesystem::file_size(dir.File("s_white.db")), POSITION_RECORD_SIZE);
}

TEST(BookShow, AnswersFromTheBookOfTheSideToMove) {
  TempDir dir;
  const u64 key = 0x0123456789ABCDEFull;
  {
    WorkingDirectory here(dir.Path());
    WriteTextFile("bookbtm.mbx", std::string(BOOK_INDEX_SIZE, '\0'));
    WriteTextFile("bookbtm.mbk", "");
    // bookwtm: one record in bucket 0x0123456789ABCDEF >> 47 = 0x246.
    std::string index;
    for (u32 bucket = 0; bucket < BUCKET_COUNT; ++bucket) {
      char count = bucket >= 0x246 ? 1 : 0;
      index += std::string{count, 0, 0, 0};
    }
    WriteTextFile("bookwtm.mbx", index);
    WriteTextFile("bookwtm.mbk", std::string("\xEF\xCD\xAB\x89\x67\x45", 6));
    EXPECT_EQ(RunCommandsCapturingOutput("bookshow\n"), "NO\n");  // not opened yet
    ASSERT_TRUE(EngineBook.OpenBook()) << EngineBook.Message().Text();
  }
  HashKey = key;
  EXPECT_EQ(RunCommandsCapturingOutput("white\nbookshow\nblack\nbookshow\n"), "YES\nNO\n");
  HashKey = key ^ 1;
  EXPECT_EQ(RunCommandsCapturingOutput("white\nbookshow\n"), "NO\n");
  HashKey = 0;
  EngineBook.Side(BOOK_BLACK_TO_MOVE).Close();
  EngineBook.Side(BOOK_WHITE_TO_MOVE).Close();
}

}  // namespace
