// Game files: the bytes of a game, reading them back, counting games and
// finding the one game file damage lies in, and telling stored games apart.
#include <gtest/gtest.h>

#include <string>

#include "pgn_test_files.h"
#include "tools/conversion_error.h"
#include "tools/game_file.h"

namespace {

// Thirty moves of each side from the first self-play game, white's win.
GameRecord ThirtyMoves() {
  PgnReading read = ReadPgnText(SelfPlayGames(1));
  GameRecord game = read.games.at(0);
  game.header = MakeGameHeader(60, RESULT_WHITE_WON);
  return game;
}

std::string FileBytes(std::FILE* file) {
  std::rewind(file);
  std::string bytes;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) bytes += static_cast<char>(c);
  return bytes;
}

// Five games: the thirty moves cut to 60, 50, ... 20 plies, results in turn.
std::string FiveGames() {
  FileHandle file(std::tmpfile());
  GameRecord game = ThirtyMoves();
  const int results[] = {RESULT_WHITE_WON, RESULT_BLACK_WON, RESULT_DRAW};
  for (int g = 0; g < 5; ++g) {
    game.header = MakeGameHeader(60 - 10 * g, results[g % 3]);
    WriteGame(game, file.get());
  }
  return FileBytes(file.get());
}

TEST(GameFile, GameIsWrittenLittleEndianAndReadBack) {
  GameRecord game = ThirtyMoves();
  FileHandle file(std::tmpfile());
  ASSERT_TRUE(WriteGame(game, file.get()));
  std::string bytes = FileBytes(file.get());
  ASSERT_EQ(bytes.size(), 122u);
  // Header 60 | 2 << 14; the first move d2d4 is from 51 to 35.
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x3c\x80\xe3\x0c"));

  std::rewind(file.get());
  GameRecord back;
  ASSERT_TRUE(ReadGame(back, file.get()));
  EXPECT_EQ(back.header, game.header);
  EXPECT_EQ(MovesText(back), MovesText(game));
  EXPECT_EQ(back.resultLetter, 'W');
  EXPECT_STREQ(back.resultText, "1-0");
  EXPECT_FALSE(ReadGame(back, file.get()));
}

TEST(GameFile, CountGamesNamesTheGameWhereDamageBegins) {
  const std::string games = FiveGames();
  const size_t fifthStart = 122 + 102 + 82 + 62;
  std::string unfinishedThird = games;
  unfinishedThird[122 + 102 + 1] &= 0x3f;  // result code 0
  std::string overlongSecond = games;
  overlongSecond[122] = '\xd0';  // ply count 2000
  overlongSecond[123] = '\x47';
  struct Case {
    const char* name;
    std::string bytes;
    int count;
  };
  for (const Case& c : {Case{"intact", games, 5}, Case{"empty", "", 0},
                        Case{"cut inside the fifth game", games.substr(0, games.size() - 3), -5},
                        Case{"cut inside the fifth header", games.substr(0, fifthStart + 1), -5},
                        Case{"unfinished third", unfinishedThird, -3},
                        Case{"overlong second", overlongSecond, -2}}) {
    FileHandle file = TextFile(c.bytes);
    std::fseek(file.get(), 7, SEEK_SET);
    EXPECT_EQ(CountGames(file.get()), c.count) << c.name;
    EXPECT_EQ(std::ftell(file.get()), 7) << c.name;
  }
}

TEST(GameFile, ReadingStopsAtDamageAndRefusesUnfinishedGames) {
  std::string games = FiveGames();
  FileHandle cut = TextFile(games.substr(0, games.size() - 3));
  GameRecord game;
  int read = 0;
  while (ReadGame(game, cut.get())) ++read;
  EXPECT_EQ(read, 4);
  games[1] &= 0x3f;
  FileHandle unfinished = TextFile(games);
  try {
    ReadGame(game, unfinished.get());
    ADD_FAILURE() << "a game of result code 0 was read";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "WRONG RESULT");
  }
}

TEST(GameFile, IndexFindsOnlyGamesWithTheSameResultAndMoves) {
  FileHandle file = TextFile(FiveGames());
  GameIndex index;
  ASSERT_TRUE(IndexGames(file.get(), index));
  EXPECT_EQ(index.Size(), 5u);
  GameRecord game = ThirtyMoves();
  EXPECT_TRUE(FindGame(game, index));
  game.header = MakeGameHeader(60, RESULT_DRAW);
  EXPECT_FALSE(FindGame(game, index));
  game.header = MakeGameHeader(59, RESULT_WHITE_WON);
  EXPECT_FALSE(FindGame(game, index));
  game.header = MakeGameHeader(50, RESULT_BLACK_WON);
  EXPECT_TRUE(FindGame(game, index));
  game.moves[49] ^= 1;
  EXPECT_FALSE(FindGame(game, index));
}

}  // namespace
