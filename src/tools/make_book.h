// "makebook": PGN files to an opening book in one command, by the steps an
// operator otherwise takes one at a time. The games are added to the game
// file kept with the book, so that a second run adds only new games; the
// positions of every game in it are written, sorted, counted into the two
// databases, and the two books are built from those, with the same book in
// the Polyglot format (book.bin) beside them. Everything is built
// under temporary names and put in place at the end: a failure leaves the
// folder's book, databases and game file as they were.
#pragma once

#include <string>
#include <vector>

#include "board/position.h"
#include "board/types.h"

// The game file kept with the book, and the folder beside it where the new
// files are built.
inline constexpr const char* BOOK_GAME_FILE = "book.game";
inline constexpr const char* MAKEBOOK_WORK_FOLDER = "makebook.tmp";

struct MakeBookSummary {
  int gamesRead = 0;     // in the PGN files
  int gamesAdded = 0;    // to the game file
  int gamesSkipped = 0;  // not read, unfinished, or held already
  int gamesInFile = 0;   // the games the book was made from
  u64 positions = 0;
  u64 bookEntries[2] = {};  // per book side
  u64 polyglotEntries = 0;  // in book.bin
  double seconds = 0;
};

// Builds the book in folder (created when missing; "" for the working folder)
// from the PGN files and the games its game file held before, printing a line
// per stage and the summary. False, with nothing changed, on any failure, and
// when a file it would write is one of the PGN files.
bool MakeBook(Position& pos, const std::vector<std::string>& pgnNames, const std::string& folder,
              MakeBookSummary& summary);
