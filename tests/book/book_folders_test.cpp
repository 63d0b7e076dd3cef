// Where the engine finds its book: the folders in their order, then the default book found by an installed engine.
#include "book/book_folders.h"
#include "book_test_files.h"

// The folders of a program installed in ./inst/bin, and the one the user names.
const std::string CWD = "", INSTALLED = "inst/bin/../share/tavrel", BUILT = "inst/bin/share/tavrel", NAMED = "mine";

// Each folder's book holds a key of its own in both sides: its number in the search order, 1 to 4. A folder with only
// the index and records of "bookbtm" holds half a book, which is passed over.
TEST(BookFolders, TheFirstFolderThatHoldsAWholeBookIsOpened) {
  EXPECT_EQ(BookFolders("inst/bin", "mine"), (std::vector<std::string>{CWD, INSTALLED, BUILT, NAMED}));
  EXPECT_EQ(BookFolders("", ""), std::vector<std::string>{CWD});
  EXPECT_EQ(BookFileName("a/folder/of/a/long/name/" + std::string(25, 'b'), ".mbk"),
            "a/folder/of/a/long/name/" + std::string(20, 'b') + ".mbk");
  const struct {
    std::vector<int> whole, half;  // the folders holding a book, half a book
    int blackToMove, whiteToMove;  // the folders whose sides are opened; 0 for none
    const char* message;
  } cases[] = {
      {{1, 2, 3, 4}, {}, 1, 1, ""}, {{2, 3, 4}, {}, 2, 2, ""}, {{3, 4}, {}, 3, 3, ""}, {{4}, {}, 4, 4, ""},
      {{4}, {1, 2}, 4, 4, ""},
      {{}, {}, 0, 0, "Cannot load file: 'bookbtm.mbx'\n"},
      {{}, {1, 4}, 1, 0, "Cannot load file: 'bookwtm.mbx'\n"},  // the working folder's half, as when it was alone
  };
  for (const auto& [whole, half, blackToMove, whiteToMove, message] : cases) {
    InTempDir dir;
    const std::string folders[] = {CWD, INSTALLED, BUILT, NAMED};
    std::filesystem::create_directories("inst/bin");
    for (const std::string& folder : {INSTALLED, BUILT, NAMED}) std::filesystem::create_directories(folder);
    for (int number : whole) {
      for (const char* name : BOOK_NAMES) WriteBook(FileInFolder(folders[number - 1], name), {u64(number)});
    }
    for (int number : half) WriteBook(FileInFolder(folders[number - 1], BOOK_NAMES[0]), {u64(number)});
    auto book = std::make_unique<OpeningBook>();
    EXPECT_EQ(OpenBookFromFolders(*book, BookFolders("inst/bin", "mine")), whiteToMove != 0);
    for (u64 number = 1; number <= 4; ++number) {
      EXPECT_EQ(BookHolds(*book, 0, number), number == u64(blackToMove)) << number;
      EXPECT_EQ(BookHolds(*book, 1, number), number == u64(whiteToMove)) << number;
    }
    if (whiteToMove == 0) {
      EXPECT_EQ(std::string(book->Message().Text()), message);
    }
  }
}

// Started in an empty folder, each engine plays its first move from the default book, and says so in its log, when it
// finds the book beside itself: the engine of the build tree, and a copy in bin/ of an install prefix with the book in
// share/tavrel/. Without that book the copy reports the book missing and searches.
TEST(BookFolders, TheEngineFindsTheDefaultBookFromAnyFolderInTheBuildTreeAndInstalled) {
#ifndef TAVREL_DEFAULT_BOOK_DIR
  GTEST_SKIP() << "the default book was not built (xz is missing)";
#else
  TempDir prefix, empty;
  std::filesystem::create_directories(prefix.File("share/tavrel"));
  std::filesystem::create_directories(prefix.File("bin"));
  std::filesystem::copy_file(TAVREL_BINARY, prefix.File("bin/tavrel"));
  for (const char* name : BOOK_NAMES) {
    for (const char* extension : {".mbx", ".mbk"}) {
      const std::string file = std::string(name) + extension;
      std::filesystem::copy_file(std::string(TAVREL_DEFAULT_BOOK_DIR) + "/" + file, prefix.File("share/tavrel/" + file));
    }
  }
  for (auto [program, withBook] : {std::pair{std::string(TAVREL_BINARY), true}, {prefix.File("bin/tavrel"), true},
                                   {prefix.File("bin/tavrel"), false}}) {
    SCOPED_TRACE(program);
    if (!withBook) std::filesystem::remove(prefix.File("share/tavrel/bookbtm.mbk"));
    EngineRun run = RunEngine("new\ngo\n", empty.Path(), program);  // "quit" behind "go" would take the turn back
    EXPECT_EQ(run.startup.find("BOOK ERROR") == std::string::npos, withBook) << run.startup;
    const size_t line = ("\n" + run.output).find("\nmove ");  // first, or after the thinking lines of a search
    ASSERT_NE(line, std::string::npos) << run.output;
    const std::string move = run.output.substr(line + 5, run.output.find('\n', line) - line - 5);
    EXPECT_EQ(run.log.find("move (book) " + move + "\n") != std::string::npos, withBook) << run.log;
  }
#endif
}
