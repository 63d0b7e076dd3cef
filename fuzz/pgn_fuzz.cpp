// PGN text from anywhere, read game by game as the conversions read it: the
// board is back at the initial position after every game and after an error,
// and each game read survives the trips through a game file and through the
// PGN text the engine writes.
#include <memory>

#include "book/file_handle.h"
#include "engine/new_position.h"
#include "fuzz_support.h"
#include "tools/conversion_error.h"
#include "tools/game_conversions.h"
#include "tools/game_file.h"
#include "tools/pgn_reader.h"

namespace {

bool SameGame(const GameRecord& a, const GameRecord& b) {
  return a.header == b.header && std::equal(a.moves, a.moves + PlyCountOf(a.header), b.moves);
}

void CheckRoundTripsOf(Position& pos, const GameRecord& game) {
  FileHandle stored(FileOf("", 0));
  Require(WriteGame(game, stored.get()), "a game written to a game file");
  std::rewind(stored.get());
  GameRecord back;
  Require(ReadGame(back, stored.get()) && SameGame(game, back), "a game read back from its game file");

  FileHandle text(FileOf("", 0));
  WritePgnGame(game, text.get());
  std::rewind(text.get());
  PgnInput in(text.get());
  GameRecord reread;
  Require(ReadPgnGame(pos, reread, in) != 0 && SameGame(game, reread), "a game read back from the PGN written");
}

void CheckRoundTrips(Position& pos, const GameRecord& game) {
  try {
    CheckRoundTripsOf(pos, game);
  } catch (const ConversionError& error) {
    Require(false, error.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Position pos;
  ReadPositionText(pos, INITIAL_POSITION);
  const std::string initial = PositionBytes(pos);
  FileHandle pgn(FileOf(data, size));
  PgnInput in(pgn.get());
  GameRecord game;
  try {
    for (in.SkipWhiteSpace(); in.Peek() != PgnInput::END; in.SkipWhiteSpace()) {
      bool read = ReadPgnGame(pos, game, in) != 0;
      Require(PositionBytes(pos) == initial, "the board is back after a game");
      // An unfinished game has no result a game file can hold.
      if (read && ResultCodeOf(game.header) != RESULT_UNFINISHED) CheckRoundTrips(pos, game);
    }
  } catch (const ConversionError&) {
  }
  Require(PositionBytes(pos) == initial, "the board is back after the text");
  return 0;
}
