// The lines of a position file written for a game: one line per position
// before each of its first plies, "KEY<tab>FEN<tab>RESULT<tab>PLY", the key as
// 16 upper-case hexadecimal digits, the FEN with its four fields.
#pragma once

#include <cstdio>
#include <string>

#include "board/position.h"
#include "book/file_handle.h"
#include "tools/game_record.h"

// Positions written per game at most; the position after the last move never is.
constexpr int POSITION_LINE_LIMIT = 64;

// Where the lines go: one file, or sixteen, file k taking the keys whose top
// hexadecimal digit is k.
constexpr int POSITION_FILE_COUNT = 16;
struct PositionOutput {
  std::FILE* files[POSITION_FILE_COUNT] = {};
  int count = 1;

  std::FILE* FileFor(u64 key) const { return count == 1 ? files[0] : files[key >> 60]; }
};

// The name of split file k: its digit and ".pos" ("A.pos").
std::string SplitPositionFileName(int k);

// Creates the sixteen split files in folder ("" for the working one), held by
// files, for out. Answers the name of the file that cannot be created, or ""
// when all are open.
std::string CreateSplitPositionFiles(const std::string& folder, FileHandle (&files)[POSITION_FILE_COUNT],
                                     PositionOutput& out);

// Plays the game from the position on the board and writes the line of every
// position before each of its first limit plies (at most POSITION_LINE_LIMIT),
// then takes the moves back. A game holding a move that is not legal where it
// stands, as a damaged game file may, writes nothing and answers false.
bool WritePositionLines(Position& pos, const GameRecord& game, const PositionOutput& out,
                        int limit = POSITION_LINE_LIMIT);
