#include "tools/make_book.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "board/load_position.h"
#include "book/book_builder.h"
#include "book/file_handle.h"
#include "book/opening_book.h"
#include "book/polyglot_builder.h"
#include "book/position_database.h"
#include "platform/same_file.h"
#include "tools/conversion_error.h"
#include "tools/game_file.h"
#include "tools/line_sort.h"
#include "tools/pgn_conversions.h"
#include "tools/position_lines.h"

namespace {

constexpr int STAGES = 5;
constexpr const char* SORTED_POSITIONS = "positions.pos";
constexpr const char* RUN_PREFIX = "run";

// The files of a finished book, built in the work folder under these names
// and then renamed into the book's folder.
std::vector<std::string> BuiltFiles() {
  std::vector<std::string> names = {WHITE_DATABASE_NAME, BLACK_DATABASE_NAME};
  for (const char* book : BOOK_NAMES) {
    names.push_back(BookFileName(book, ".mbk"));
    names.push_back(BookFileName(book, ".mbx"));
  }
  names.push_back(POLYGLOT_BOOK_NAME);
  return names;
}

// Every file the work folder holds while a book is built (the runs of the sort apart).
std::vector<std::string> WorkFiles() {
  std::vector<std::string> names = BuiltFiles();
  names.push_back(SORTED_POSITIONS);
  for (int k = 0; k < POSITION_FILE_COUNT; ++k) names.push_back(SplitPositionFileName(k));
  return names;
}

void Stage(int number, const char* what, const std::string& detail = "") {
  std::printf("makebook: [%d/%d] %s%s\n", number, STAGES, what, detail.c_str());
}

class BookMaker {
 public:
  BookMaker(const std::vector<std::string>& pgnNames, const std::string& folder, MakeBookSummary& summary)
      : pgnNames_(pgnNames), folder_(folder), work_(FileInFolder(folder, MAKEBOOK_WORK_FOLDER)),
        gameFile_(FileInFolder(folder, BOOK_GAME_FILE)), summary_(summary) {}

  bool Run(Position& pos) {
    if (!SafeForInputs() || !TargetsReplaceable() || !MakeFolders() || !RememberGameFile()) return false;
    bool built =
        AddGames(pos) && WritePositions(pos) && SortPositions() && BuildDatabases() && BuildBooks(pos) && PutInPlace();
    if (!built) RestoreGameFile();
    RemoveWorkFiles();
    return built;
  }

 private:
  std::string Work(const std::string& name) const { return FileInFolder(work_, name); }

  // No file written may be one of the PGN files, nor may a PGN file lie in the
  // work folder, where the sort writes files of its own.
  bool SafeForInputs() const {
    std::vector<std::string> written = {gameFile_};
    for (const std::string& name : BuiltFiles()) written.push_back(FileInFolder(folder_, name));
    for (const std::string& name : WorkFiles()) written.push_back(Work(name));
    for (const std::string& pgn : pgnNames_) {
      const std::string pgnFolder = std::filesystem::path(pgn).parent_path().string();
      if (SameFile(pgnFolder.empty() ? "." : pgnFolder.c_str(), work_.c_str())) {
        std::printf("makebook: refused: the PGN file '%s' is in '%s', where makebook writes its work files\n",
                    pgn.c_str(), work_.c_str());
        return false;
      }
      for (const std::string& name : written) {
        if (SameFile(pgn.c_str(), name.c_str())) {
          std::printf("makebook: refused: it would write '%s', which is the PGN file '%s'\n", name.c_str(),
                      pgn.c_str());
          return false;
        }
      }
    }
    return true;
  }

  // Renaming a file over a folder fails: found at the end, the book would be half replaced.
  bool TargetsReplaceable() const {
    for (const std::string& name : BuiltFiles()) {
      const std::string target = FileInFolder(folder_, name);
      std::error_code ignored;
      if (std::filesystem::is_directory(target, ignored)) {
        std::printf("makebook: cannot replace '%s': it is a folder\n", target.c_str());
        return false;
      }
    }
    return true;
  }

  bool MakeFolders() const {
    for (const std::string& folder : {folder_, work_}) {
      std::error_code error;
      if (!folder.empty()) std::filesystem::create_directories(folder, error);
      if (error) {
        std::printf("makebook: cannot create the folder '%s'\n", folder.c_str());
        return false;
      }
    }
    return true;
  }

  // Its size, or that there is none; false when that cannot be told.
  bool RememberGameFile() {
    struct stat status;
    if (stat(gameFile_.c_str(), &status) == 0) {
      gameFileSize_ = status.st_size;
    } else if (errno != ENOENT) {
      return Failed("Cannot open file statistics: %s\n", gameFile_);
    }
    return true;
  }

  // Games are only ever appended to a game file: cutting it back undoes them.
  void RestoreGameFile() const {
    if (gameFileSize_ < 0) {
      std::remove(gameFile_.c_str());
    } else if (truncate(gameFile_.c_str(), gameFileSize_) != 0) {
      std::printf("makebook: cannot restore the game file '%s'\n", gameFile_.c_str());
    }
  }

  bool AddGames(Position& pos) {
    Stage(1, "adding games to ", "'" + gameFile_ + "'");
    for (const std::string& pgn : pgnNames_) {
      PgnTally tally;
      PgnOutcome outcome = PgnToGame(pos, pgn.c_str(), gameFile_.c_str(), &summary_.gamesAdded, &tally);
      summary_.gamesRead += tally.converted + tally.skipped;
      summary_.gamesSkipped += tally.skipped;
      if (outcome != PgnOutcome::Converted) return false;
    }
    return true;
  }

  // The position lines of every game of the game file, split by the first digit of their key.
  bool WritePositions(Position& pos) {
    Stage(2, "writing positions of the games in ", "'" + gameFile_ + "'");
    FileHandle games(std::fopen(gameFile_.c_str(), "rb"));
    if (!games) {
      std::printf("Cannot open GAME input file: '%s'\n", gameFile_.c_str());
      return false;
    }
    FileHandle files[POSITION_FILE_COUNT];
    PositionOutput out;
    if (const std::string failed = CreateSplitPositionFiles(work_, files, out); !failed.empty()) {
      return Failed("Cannot create POS output file: '%s'\n", failed);
    }
    LoadBoard(pos, INITIAL_POSITION);
    GameRecord game;
    try {
      while (ReadGame(game, games.get())) {
        if (!WritePositionLines(pos, game, out)) {
          std::printf("Warning: game %d (skipped) file: %s\n", summary_.gamesInFile + 1, gameFile_.c_str());
        }
        ++summary_.gamesInFile;
      }
    } catch (const ConversionError& error) {
      std::printf("ERROR: %s file: %s\n", error.what(), gameFile_.c_str());
      return false;
    }
    for (int k = 0; k < POSITION_FILE_COUNT; ++k) {
      if (std::fclose(files[k].release()) != 0) {
        return Failed("Cannot write file: %s\n", Work(SplitPositionFileName(k)));
      }
    }
    return true;
  }

  // The sixteen files in the order of their digits, each sorted, make one sorted file.
  bool SortPositions() {
    Stage(3, "sorting positions of ", std::to_string(summary_.gamesInFile) + " games");
    const std::string sortedName = Work(SORTED_POSITIONS);
    FileHandle sorted(std::fopen(sortedName.c_str(), "w"));
    if (!sorted) return Failed("Cannot create POS output file: '%s'\n", sortedName);
    LineSort sort{Work(RUN_PREFIX)};
    for (int k = 0; k < POSITION_FILE_COUNT; ++k) {
      const std::string split = Work(SplitPositionFileName(k));
      bool appended = AppendSortedLines(split, sorted.get(), sort);
      std::remove(split.c_str());
      if (std::ferror(sorted.get())) return Failed("Cannot write file: %s\n", sortedName);
      if (!appended) return Failed("Cannot sort file: %s\n", split);
    }
    summary_.positions = sort.lines;
    if (std::fclose(sorted.release()) != 0) return Failed("Cannot write file: %s\n", sortedName);
    return true;
  }

  bool BuildDatabases() {
    Stage(4, "building the databases from ", std::to_string(summary_.positions) + " positions");
    PositionDatabase databases;
    bool built = databases.CreateDatabases(Work(SORTED_POSITIONS).c_str(), Work(WHITE_DATABASE_NAME).c_str(),
                                           Work(BLACK_DATABASE_NAME).c_str());
    if (!built) std::printf("%s", databases.Message().Text());
    return built;
  }

  bool BuildBooks(Position& pos) {
    Stage(5, "building the books");
    PositionDatabase databases;
    if (!databases.OpenDatabases(Work(WHITE_DATABASE_NAME).c_str(), Work(BLACK_DATABASE_NAME).c_str())) {
      std::printf("%s", databases.Message().Text());
      return false;
    }
    auto book = std::make_unique<OpeningBook>();
    for (int side : {BOOK_BLACK_TO_MOVE, BOOK_WHITE_TO_MOVE}) {
      if (!BuildBookSide(*book, Work(BOOK_NAMES[side]).c_str(), databases.File(side), side, databases.Message())) {
        std::printf("%s", databases.Message().Text());
        return false;
      }
      summary_.bookEntries[side] = book->Side(side).index[BUCKET_COUNT - 1];
    }
    std::vector<PolyglotEntry> entries;
    if (!PolyglotEntriesOf(pos, databases, entries) ||
        !WritePolyglotBook(Work(POLYGLOT_BOOK_NAME).c_str(), entries, databases.Message())) {
      std::printf("%s", databases.Message().Text());
      return false;
    }
    summary_.polyglotEntries = entries.size();
    return true;
  }

  bool PutInPlace() const {
    for (const std::string& name : BuiltFiles()) {
      const std::string target = FileInFolder(folder_, name);
      if (std::rename(Work(name).c_str(), target.c_str()) != 0) {
        return Failed("Cannot rename the new book file to '%s'\n", target);
      }
    }
    return true;
  }

  void RemoveWorkFiles() const {
    for (const std::string& name : WorkFiles()) std::remove(Work(name).c_str());
    std::error_code ignored;
    std::filesystem::remove(work_, ignored);  // only when empty: nothing but the book's own files is removed
  }

  static bool Failed(const char* format, const std::string& name) {
    std::printf(format, name.c_str());
    return false;
  }

  const std::vector<std::string>& pgnNames_;
  const std::string folder_, work_, gameFile_;
  MakeBookSummary& summary_;
  long gameFileSize_ = -1;  // -1: there was none
};

}  // namespace

bool MakeBook(Position& pos, const std::vector<std::string>& pgnNames, const std::string& folder,
              MakeBookSummary& summary) {
  const auto start = std::chrono::steady_clock::now();
  summary = {};
  bool built = BookMaker(pgnNames, folder, summary).Run(pos);
  summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!built) {
    std::printf("makebook: failed; the book in '%s' is as it was\n", folder.empty() ? "." : folder.c_str());
    return false;
  }
  std::printf("makebook: done in %.1f s: %d games read, %d added, %d skipped; %d games in the book's game file, "
              "%llu positions; book entries: %s %llu, %s %llu, %s %llu\n",
              summary.seconds, summary.gamesRead, summary.gamesAdded, summary.gamesSkipped, summary.gamesInFile,
              static_cast<unsigned long long>(summary.positions), BOOK_NAMES[BOOK_BLACK_TO_MOVE],
              static_cast<unsigned long long>(summary.bookEntries[BOOK_BLACK_TO_MOVE]),
              BOOK_NAMES[BOOK_WHITE_TO_MOVE], static_cast<unsigned long long>(summary.bookEntries[BOOK_WHITE_TO_MOVE]),
              POLYGLOT_BOOK_NAME, static_cast<unsigned long long>(summary.polyglotEntries));
  return true;
}
