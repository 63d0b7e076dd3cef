#include "tools/pgn_conversions.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "board/load_position.h"
#include "book/file_handle.h"
#include "platform/engine_log.h"
#include "platform/same_file.h"
#include "tools/conversion_error.h"
#include "tools/game_file.h"
#include "tools/pgn_reader.h"
#include "tools/position_lines.h"

namespace {

constexpr size_t LIST_LINE_LENGTH = 254;

// Hands every game of the PGN file to keep, which answers whether it was
// converted; counts the games in tally and prints the warnings and the
// summary. False after a reader error, reported as such.
bool ConvertPgnGames(Position& pos, std::FILE* pgn, const char* pgnName,
                     const std::function<bool(const GameRecord&)>& keep, PgnTally& tally) {
  LoadBoard(pos, INITIAL_POSITION);
  PgnInput in(pgn);
  GameRecord game;
  tally = {};
  int& converted = tally.converted;
  int& skipped = tally.skipped;
  try {
    in.SkipWhiteSpace();
    while (in.Peek() != PgnInput::END) {
      if (ReadPgnGame(pos, game, in) != 0 && keep(game)) {
        ++converted;
      } else {
        ++skipped;
        std::printf("Warning: game %d (skipped) file: %s\n", converted + skipped, pgnName);
      }
      in.SkipWhiteSpace();
    }
  } catch (const ConversionError& error) {
    std::printf("converted: %d games. (skipped: %d)\n", converted, skipped);
    std::printf("ERROR: %s file: %s\n", error.what(), pgnName);
    EngineLog << "converted: " << converted << "\tskipped: " << skipped << EndLine;
    EngineLog << "ERROR: " << error.what() << EndLine;
    LoadBoard(pos, INITIAL_POSITION);
    return false;
  }
  std::printf("converted: %d games. (skipped: %d)\n", converted, skipped);
  std::printf("file: %s \t\tfinished\n", pgnName);
  EngineLog << "<<< OK:\t" << pgnName << "\t>>>" << EndLine;
  return true;
}

FileHandle OpenPgn(const char* pgnName) {
  FileHandle pgn(std::fopen(pgnName, "r"));
  if (!pgn) std::printf("Cannot open PGN input file: '%s'\n", pgnName);
  return pgn;
}

// The next line of the list without its line end and the blanks around it; at
// most LIST_LINE_LENGTH characters of it are kept. False at the end of the file.
bool ReadListLine(std::FILE* list, std::string& line) {
  line.clear();
  int c = std::getc(list);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::getc(list)) {
    if (line.size() < LIST_LINE_LENGTH) line.push_back(static_cast<char>(c));
  }
  const size_t first = line.find_first_not_of(" \t\r"), last = line.find_last_not_of(" \t\r");
  line = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
  return true;
}

// The size of an open file, or -1 when it cannot be told.
long FileSize(std::FILE* file) {
  struct stat status {};
  return fstat(fileno(file), &status) == 0 ? static_cast<long>(status.st_size) : -1;
}

}  // namespace

void PgnToPos(Position& pos, const char* pgnName) {
  FileHandle pgn = OpenPgn(pgnName);
  if (!pgn) return;
  // Emptying the outputs must never destroy the games about to be read.
  for (int k = 0; k < POSITION_FILE_COUNT; ++k) {
    const std::string name = SplitPositionFileName(k);
    if (SameFile(name.c_str(), pgnName)) {
      std::printf("Cannot create POS output file: '%s'\n", name.c_str());
      return;
    }
  }
  FileHandle files[POSITION_FILE_COUNT];
  PositionOutput out;
  if (const std::string failed = CreateSplitPositionFiles("", files, out); !failed.empty()) {
    std::printf("Cannot create POS output file: '%s'\n", failed.c_str());
    return;
  }
  PgnTally tally;
  ConvertPgnGames(
      pos, pgn.get(), pgnName, [&pos, &out](const GameRecord& game) { return WritePositionLines(pos, game, out); },
      tally);
}

PgnOutcome PgnToGame(Position& pos, const char* pgnName, const char* gameName, int* counter, PgnTally* tally) {
  FileHandle pgn = OpenPgn(pgnName);
  if (!pgn) return PgnOutcome::NotOpened;
  // Games appended to the PGN file being read would be read again, and the
  // text would no longer be the one the user had.
  FileHandle gameFile(SameFile(gameName, pgnName) ? nullptr : std::fopen(gameName, "a+b"));
  if (!gameFile) {
    std::printf("Cannot create GAME output file: '%s'\n", gameName);
    return PgnOutcome::Stopped;
  }
  GameIndex stored;
  int count = CountGames(gameFile.get());
  if (count < 0 || !IndexGames(gameFile.get(), stored)) {
    std::printf("Game file corrupted! (error on game: %d)\n", count < 0 ? -count : count + 1);
    return PgnOutcome::Stopped;
  }
  // Each game is flushed as it is added, so that a full disk stops the
  // conversion after the last whole game, and the game cut short is removed:
  // the file stays readable and the count says what it holds.
  long wholeGamesEnd = FileSize(gameFile.get());
  bool writeFailed = false;
  PgnTally ownTally;
  bool read = ConvertPgnGames(
      pos, pgn.get(), pgnName,
      [&](const GameRecord& game) {
        // An unfinished game has no result to store, and no game file holds one.
        if (ResultCodeOf(game.header) == RESULT_UNFINISHED || FindGame(game, stored)) return false;
        writeFailed = !WriteGame(game, gameFile.get()) || std::fflush(gameFile.get()) != 0;
        if (writeFailed) throw ConversionError("GAME FILE NOT WRITTEN");
        wholeGamesEnd = FileSize(gameFile.get());
        stored.Add(game);
        ++*counter;
        return true;
      },
      tally ? *tally : ownTally);
  if (writeFailed || std::fflush(gameFile.get()) != 0) {
    gameFile.reset();
    if (wholeGamesEnd >= 0) truncate(gameName, wholeGamesEnd);
    if (!writeFailed) std::printf("Cannot write GAME output file: '%s'\n", gameName);
    return PgnOutcome::Stopped;
  }
  return read ? PgnOutcome::Converted : PgnOutcome::Stopped;
}

void PgnListToGame(Position& pos, const char* listName, const char* gameName) {
  FileHandle list(std::fopen(listName, "r"));
  if (!list) {
    std::printf("Cannot open PGN input file: '%s'\n", listName);
    return;
  }
  if (SameFile(gameName, listName)) {
    std::printf("Cannot create GAME output file: '%s'\n", gameName);
    return;
  }
  int counter = 0;
  std::string line;
  while (ReadListLine(list.get(), line)) {
    if (line.empty()) continue;
    if (PgnToGame(pos, line.c_str(), gameName, &counter) == PgnOutcome::Stopped) break;
  }
  std::printf("\nCONVERTED GAMES: %d\n", counter);
}
