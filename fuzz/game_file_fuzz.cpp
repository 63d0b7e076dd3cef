// Game files from anywhere: counting, indexing and reading agree on where the
// damage begins; every game read is written back to the same bytes, and its
// position lines are written, or refused for a move that is not legal, with
// the board back at the initial position.
#include <memory>

#include "book/file_handle.h"
#include "engine/new_position.h"
#include "fuzz_support.h"
#include "tools/conversion_error.h"
#include "tools/game_conversions.h"
#include "tools/game_file.h"
#include "tools/position_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Position pos;
  ReadPositionText(pos, INITIAL_POSITION);
  const std::string initial = PositionBytes(pos);
  FileHandle games(FileOf(data, size));
  const int count = CountGames(games.get());
  GameIndex index;
  const bool indexed = IndexGames(games.get(), index);
  Require(indexed == (count >= 0), "indexing fails exactly where counting finds damage");
  Require(std::ftell(games.get()) == 0, "counting and indexing leave the file where it was");

  FileHandle written(FileOf("", 0)), lines(FileOf("", 0)), pgn(FileOf("", 0));
  PositionOutput out;
  out.files[0] = lines.get();
  GameRecord game;
  int read = 0;
  try {
    while (ReadGame(game, games.get())) {
      ++read;
      Require(WriteGame(game, written.get()), "a game written");
      WritePositionLines(pos, game, out);
      Require(PositionBytes(pos) == initial, "the board is back after the position lines");
      WritePgnGame(game, pgn.get());
    }
  } catch (const ConversionError&) {
    Require(count < 0, "a game of result code 0 is damage that counting finds");
  }
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (count >= 0) {
    Require(read == count, "every game counted is read");
    Require(ReadAll(written.get()) == bytes, "the games read are written back to the same bytes");
  } else {
    Require(read == -count - 1, "reading stops at the damaged game");
  }
  return 0;
}
