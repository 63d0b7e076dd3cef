// The game file: games one after the other, each a 2-byte header (ply count
// and result code, see game_record.h) followed by its moves, 2 bytes each, all
// little-endian, with no file header.
#pragma once

#include <cstdio>
#include <string>
#include <unordered_set>

#include "tools/game_record.h"

// Reads the next game into record, setting its result letter and text. False
// at the end of the file, and for a game cut short or longer than a record
// holds. Throws ConversionError("WRONG RESULT") for result code 0.
bool ReadGame(GameRecord& record, std::FILE* file);

// Writes the header and the moves of record: (ply count + 1) * 2 bytes. False
// when the file would not take them.
bool WriteGame(const GameRecord& record, std::FILE* file);

// The number of games in the file, counted from its start. A negative answer
// -n says that game n is corrupt: its result code is 0, it holds more moves
// than a record can, or the file ends inside it or inside its header. -1 as
// well when the file cannot be read. The file position is left where it was.
int CountGames(std::FILE* file);

// The games of a game file, for telling whether a game is in it without
// reading the file again: each game's header and moves, byte for byte.
class GameIndex {
 public:
  void Add(const GameRecord& record);
  bool Contains(const GameRecord& record) const;
  size_t Size() const { return games_.size(); }

 private:
  std::unordered_set<std::string> games_;
};

// Adds every game of the file, from its start, to index and leaves the file
// position where it was. False, after adding the games before it, at a game
// that cannot be read (CountGames tells which).
bool IndexGames(std::FILE* file, GameIndex& index);

// Whether a game with the same header (ply count and result) and the same moves
// in the same order is in the index.
bool FindGame(const GameRecord& record, const GameIndex& index);
