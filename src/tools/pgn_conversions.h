// PGN files to position files ("pgn2pos") and to game files ("pgn2game",
// "pgnlist2game"). Each reads its games from the initial position, prints a
// warning for every game it skips and a summary at the end, and leaves the
// board at the initial position, also after an error ends the reading.
#pragma once

#include "board/position.h"

// The sixteen position files "0.pos" to "F.pos", emptied first; file k takes
// the positions whose key's top hexadecimal digit is k.
void PgnToPos(Position& pos, const char* pgnName);

enum class PgnOutcome {
  Converted,     // the file was read to its end
  NotOpened,     // the PGN file could not be opened
  Stopped,       // a reader error, or a game file that cannot be added to
};

// The games of one PGN file: converted, and skipped (not read, unfinished, or
// held already).
struct PgnTally {
  int converted = 0;
  int skipped = 0;
};

// Adds to the game file (created when missing) each game of the PGN file that
// it does not hold yet and that has a result; *counter grows by one for each.
// A game file that is corrupt is not added to. The tally, when given, counts
// the file's games.
PgnOutcome PgnToGame(Position& pos, const char* pgnName, const char* gameName, int* counter, PgnTally* tally = nullptr);

// PgnToGame for every PGN file named in the list file, one name a line, into
// one game file; stops at the first file whose reading ends on an error.
void PgnListToGame(Position& pos, const char* listName, const char* gameName);
