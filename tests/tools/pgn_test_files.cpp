#include "pgn_test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "board/position.h"
#include "tools/conversion_error.h"
#include "tools/pgn_reader.h"

FileHandle TextFile(const std::string& text) {
  FileHandle file(std::tmpfile());
  if (!file || std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
    throw std::runtime_error("cannot write a temporary file");
  }
  std::rewind(file.get());
  return file;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string SelfPlayGames(int count) {
  std::ifstream file(TAVREL_SHARED_DIR "/pgn/selfplay-300.pgn", std::ios::binary);
  std::stringstream all;
  all << file.rdbuf();
  std::string text = all.str();
  size_t end = 0;
  for (int game = 0; game < count && end != std::string::npos; ++game) {
    end = text.find("[Event ", end + 1);
  }
  return text.substr(0, end);
}

PgnReading ReadPgnText(const std::string& text) {
  InitBoardTables();
  LoadPosition(INITIAL_POSITION);
  u64 initialKey = HashKey;
  FileHandle file = TextFile(text);
  PgnInput in(file.get());
  PgnReading reading;
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  try {
    in.SkipWhiteSpace();
    while (in.Peek() != PgnInput::END) {
      GameRecord game;
      if (ReadPgnGame(game, in) != 0) {
        reading.games.push_back(game);
      } else {
        ++reading.skipped;
      }
      reading.boardRestored = reading.boardRestored && HashKey == initialKey && AtLoadedPosition();
      in.SkipWhiteSpace();
    }
  } catch (const ConversionError& error) {
    reading.error = error.what();
  }
  std::fflush(stdout);
  reading.output = testing::internal::GetCapturedStdout();
  reading.boardRestored = reading.boardRestored && HashKey == initialKey && AtLoadedPosition();
  return reading;
}

std::string MovesText(const GameRecord& game) {
  std::string text;
  for (int ply = 0; ply < PlyCountOf(game.header); ++ply) {
    char move[MOVE_TEXT_SIZE];
    MoveToText(move, game.moves[ply]);
    if (ply > 0) text += ' ';
    text += move;
  }
  return text;
}

std::string AfterStartUp(const std::string& output) {
  const std::string done = "feature done=1\n";
  size_t at = output.find(done);
  if (at == std::string::npos) return output;
  std::string rest = output.substr(at + done.size());
  if (rest.rfind("BOOK ERROR", 0) == 0) rest = rest.substr(rest.find('\n') + 1);
  return rest;
}
