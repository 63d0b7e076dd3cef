// Game texts and files for the PGN and game-file tests.
#pragma once

#include <string>
#include <vector>

#include "book/file_handle.h"
#include "tools/game_record.h"

// A temporary file holding text, open for reading and writing at its start.
FileHandle TextFile(const std::string& text);

void WriteTextFile(const std::string& path, const std::string& text);

// The first count games of the self-play collection, as they stand in it.
std::string SelfPlayGames(int count);

// What reading every game of a PGN text from the initial position gave.
struct PgnReading {
  std::vector<GameRecord> games;  // the games read, in order
  int skipped = 0;                // games ReadPgnGame answered 0 for
  std::string error;              // the text of the error that ended the reading, if any
  std::string output;             // what the reader printed
  bool boardRestored = true;      // the initial position was on the board after every game
};
PgnReading ReadPgnText(const std::string& text);

// The moves of a game in coordinate notation, separated by blanks.
std::string MovesText(const GameRecord& game);

// The engine's output after its start-up lines, when it printed any (up to the
// line "feature done=1", and a "BOOK ERROR" line after it).
std::string AfterStartUp(const std::string& output);
