// Game texts for the PGN, game-file and conversion tests, and what the PGN reader makes of them.
#pragma once

#include "board/position.h"
#include "book/book_test_files.h"
#include "book/file_handle.h"
#include "support/move_probe.h"
#include "support/test_data.h"
#include "tools/conversion_error.h"
#include "tools/pgn_reader.h"

const std::string WHITE_WON = "[Event \"t\"]\n[Result \"1-0\"]\n\n", BLACK_WON = "[Event \"t\"]\n[Result \"0-1\"]\n\n";

// The first count games of the self-play collection, as they stand in it.
inline std::string SelfPlayGames(int count) {
  const std::string text = ReadTestData("selfplay-300.pgn");
  size_t end = 0;
  for (int game = 0; game < count && end != std::string::npos; ++game) end = text.find("[Event ", end + 1);
  return text.substr(0, end);
}

// Commands fed to the command loop in this process, in a working folder of the test's own.
class CommandsInAFolder : public testing::Test {
 protected:
  Engine engine;
  Position& pos = engine.game;  // the position under test
  void SetUp() override { InitBoardTables(); }
  std::string Run(Position&, const std::string& commands) {
    return RunCommandsCapturingOutput(engine, commands + "\n");
  }
  InTempDir dir_;
};

// What reading every game of a PGN text from the initial position gave.
struct PgnReading {
  std::vector<GameRecord> games;  // the games read, in order
  int skipped = 0;                // games ReadPgnGame answered 0 for
  std::string error;              // the text of the error that ended the reading, if any
  std::string output;             // what the reader printed
  bool boardRestored = true;      // the initial position was on the board after every game
};

inline PgnReading ReadPgnText(Position& pos, const std::string& text) {
  Load(pos, INITIAL_POSITION);
  const u64 initialKey = pos.HashKey;
  FileHandle file(std::tmpfile());
  std::fwrite(text.data(), 1, text.size(), file.get());
  std::rewind(file.get());
  PgnInput in(file.get());
  PgnReading reading;
  auto restored = [&] { return reading.boardRestored && pos.HashKey == initialKey && AtLoadedPosition(pos); };
  reading.output = CaptureOutput([&] {
    try {
      for (in.SkipWhiteSpace(); in.Peek() != PgnInput::END; in.SkipWhiteSpace()) {
        GameRecord game;
        if (ReadPgnGame(pos, game, in) != 0)
          reading.games.push_back(game);
        else ++reading.skipped;
        reading.boardRestored = restored();
      }
    } catch (const ConversionError& error) {
      reading.error = error.what();
    }
  });
  reading.boardRestored = restored();
  return reading;
}

// The lines of text without their line ends, sorted when asked.
inline std::vector<std::string> Lines(const std::string& text, bool sorted = false) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (sorted) std::sort(lines.begin(), lines.end());
  return lines;
}

// The moves of a game in coordinate notation, separated by blanks.
inline std::string MovesText(const GameRecord& game) {
  std::string text;
  for (int ply = 0; ply < PlyCountOf(game.header); ++ply)
    text.append(ply > 0 ? " " : "").append(MoveText(game.moves[ply]));
  return text;
}
