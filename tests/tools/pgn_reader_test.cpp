// The PGN reader on games written by hand and on files from anywhere, and the
// game file that holds what it reads.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <tuple>

#include "pgn_test_files.h"
#include "tools/game_file.h"

namespace {

const std::string WHITE_WON = "[Event \"t\"]\n[Result \"1-0\"]\n\n";
const std::string BLACK_WON = "[Event \"t\"]\n[Result \"0-1\"]\n\n";
const std::string DRAWN = "[Event \"t\"]\n[Result \"1/2-1/2\"]\n\n";

// Castling written with zeros begins like "0-1": it is a move whatever the result.
TEST(PgnReader, StoresMovesWithPlyCountAndResult) {
  const std::string moves = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 Nf6 5. d3 d6 6. Bg5 0-0 ";
  for (const auto& [tags, end, code, letter] : {std::tuple{WHITE_WON, "1-0", 2, 'W'}, {BLACK_WON, "0-1", 1, 'B'},
                                                {DRAWN, "1/2-1/2", 3, 'D'}}) {
    PgnReading read = ReadPgnText(tags + moves + end + "\n");
    ASSERT_EQ(read.games.size(), 1u) << end << ": " << read.error << read.output;
    EXPECT_EQ(read.games[0].header, 12 | code << 14);
    EXPECT_EQ(MovesText(read.games[0]), "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 d2d3 d7d6 c1g5 e8g8");
    EXPECT_EQ(read.games[0].resultLetter, letter);
    EXPECT_STREQ(read.games[0].resultText, end);
    EXPECT_TRUE(read.boardRestored);
  }
  PgnReading longCastling = ReadPgnText(BLACK_WON + "1. d4 d5 2. Nc3 Nc6 3. Bf4 Bf5 4. Qd2 Qd7 5. 0-0-0 0-0-0 0-1");
  ASSERT_EQ(longCastling.games.size(), 1u) << longCastling.error;
  EXPECT_EQ(MovesText(longCastling.games[0]).substr(40), "e1c1 e8c8");
}

TEST(PgnReader, PassesOverNumbersAnnotationsCommentsAndVariations) {
  PgnReading read = ReadPgnText(WHITE_WON +
                                "1.e4 $1 {a {nested} comment} e5\t(1... c5 (1... e6 2. d4) 2. Nf3)\r\n"
                                "2. Nf3!? $14 Nc6 3. Bb5+ {} 3... a6 (3... Nf6 {4. O-O}) 1-0");
  ASSERT_EQ(read.games.size(), 1u) << read.error;
  EXPECT_EQ(MovesText(read.games[0]), "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6");
  EXPECT_EQ(read.games[0].header, 6 | 2 << 14);
}

// Text that only begins like the result is a token that is no move: its game
// is skipped and the next one read.
TEST(PgnReader, ResultErrorsEndTheReading) {
  PgnReading oneOne = ReadPgnText(WHITE_WON + "1. e4 e5 1-1\n\n" + WHITE_WON + "1. d4 1-0\n");
  EXPECT_EQ(std::tuple(oneOne.error, oneOne.skipped, oneOne.output), std::tuple("", 1, "move: 1-1, plyNo:3\n"));
  ASSERT_EQ(oneOne.games.size(), 1u);
  EXPECT_EQ(MovesText(oneOne.games[0]), "d2d4");
  const std::pair<std::string, std::string> errors[] = {
      {"[Result \"?\"]\n1. e4 *\n", "Result Error 1"},        {"[Result \"\"]\n1. e4 *\n", "Result Error 1"},
      {"[Event \"no result\"]\n1. e4 1-0\n", "Result Error 2"}, {"1. e4 e5 1-0\n", "Result Error 2"},
      {WHITE_WON + "1. e4 e5 *\n", "Result * error"},
  };
  for (const auto& [text, error] : errors) {
    PgnReading read = ReadPgnText(text + WHITE_WON + "1. d4 1-0\n");
    EXPECT_EQ(std::tuple(read.error, read.games.size(), read.boardRestored), std::tuple(error, 0u, true)) << text;
  }
  PgnReading unfinished = ReadPgnText("[Result \"*\"]\n1. e4 e5 *\n");
  ASSERT_EQ(unfinished.games.size(), 1u) << unfinished.error;
  EXPECT_EQ(std::tuple(unfinished.games[0].header, unfinished.games[0].resultLetter), std::tuple(u16{2}, '*'));
}

TEST(PgnReader, IllegalMovesShowTheBoardAndEndTheReading) {
  // After 1. e4, black has no pawn that can reach e4.
  PgnReading notGenerated = ReadPgnText(WHITE_WON + "1. e4 e4 1-0\n");
  EXPECT_EQ(notGenerated.error, "MOVE NOT LEGAL 1");
  EXPECT_NE(notGenerated.output.find("\n4 . . . . P . . . \n"), std::string::npos) << notGenerated.output;
  EXPECT_EQ(notGenerated.output.substr(notGenerated.output.find("  A B C")), "  A B C D E F G H\nmove: e4, plyNo:2\n");
  // The knight on c3 is pinned to its king by the bishop on b4: the board is shown with it moved.
  PgnReading pinned = ReadPgnText(WHITE_WON + "1. d4 e6 2. c4 Bb4+ 3. Nc3 Nf6 4. Nb5 1-0\n");
  EXPECT_EQ(pinned.error, "MOVE NOT LEGAL 2 - check revealed");
  EXPECT_NE(pinned.output.find("\n5 . N . . . . . . \n4 . b P P . . . . \n3 . . . . . . . . \n"), std::string::npos)
      << pinned.output;
  EXPECT_EQ(pinned.output.substr(pinned.output.find("  A B C")), "  A B C D E F G H\nmove: Nb5, plyNo:7\n");
  EXPECT_TRUE(notGenerated.boardRestored && pinned.boardRestored);
}

// None crashes the reader or overruns a buffer, each ends as a game, a skip
// or an error, and the board is the initial position again.
TEST(PgnReader, FilesFromAnywhereEndAsGamesSkipsOrErrors) {
  std::string binary = "\x01", shuffle;
  std::minstd_rand random(7);
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(random());
  for (int i = 0; i < 300; ++i) shuffle += "Nf3 Nf6 Ng1 Ng8 ";
  struct Case {
    std::string name, text;
    size_t games;
    int skipped;
    std::string error;
  } const cases[] = {
      {"empty", "", 0, 0, ""},
      {"white space only", " \n\t\r\n", 0, 0, ""},
      {"no final line end", BLACK_WON + "1. e4 e5 0-1", 1, 0, ""},
      {"tags only, at the end", WHITE_WON, 0, 1, ""},
      {"no moves, then a game", WHITE_WON + "1-0\n" + WHITE_WON + "1. e4 1-0", 1, 1, ""},
      {"long tag line", "[Event \"" + std::string(100000, 'x') + "\"]\n[Result \"1-0\"]\n1. e4 1-0\n", 1, 0, ""},
      {"long token", WHITE_WON + "1. " + std::string(1000, 'N') + " e4 1-0\n" + WHITE_WON + "1. d4 1-0", 1, 1, ""},
      {"comment never closed", WHITE_WON + "1. e4 {e5 2. Nf3\n" + WHITE_WON, 1, 0, ""},
      {"variation never closed", WHITE_WON + "1. e4 (1. d4 d5\n" + WHITE_WON, 1, 0, ""},
      {"zero bytes", WHITE_WON + "1. e4 " + std::string(3, '\0') + " e5 1-0\n" + WHITE_WON + "1. d4 1-0", 1, 1, ""},
      {"no end marker", WHITE_WON + "1. e4 e5\n\n" + WHITE_WON + "1. d4 1-0\n", 1, 1, ""},
      {"binary", binary, 0, 0, "Result Error 2"},
      {"longer than a record holds", DRAWN + shuffle + "1/2-1/2\n", 1, 0, ""},
  };
  for (const Case& c : cases) {
    PgnReading read = ReadPgnText(c.text);
    EXPECT_EQ(std::tuple(read.games.size(), read.skipped, read.error, read.boardRestored),
              std::tuple(c.games, c.skipped, c.error, true))
        << c.name;
  }
  // The longest game keeps its first 1023 plies.
  PgnReading longest = ReadPgnText(DRAWN + shuffle + "1/2-1/2\n");
  EXPECT_EQ(longest.games.at(0).header, 1023 | 3 << 14);
  EXPECT_EQ(MovesText(longest.games[0]).substr(5 * 1022), "f3g1");
  // Real games with a few bytes changed or cut short.
  const std::string games = SelfPlayGames(8);
  for (int trial = 0; trial < 200; ++trial) {
    std::string text = games.substr(0, games.size() - random() % 200);
    for (int change = random() % 6; change > 0; --change) text[random() % text.size()] = "[]{}()*01-/.\n $Q"[random() % 16];
    ASSERT_TRUE(ReadPgnText(text).boardRestored) << "trial " << trial;
  }
}

// Thirty moves of each side from the first self-play game make a header of
// 60 | 2 << 14 and 122 bytes. Five games cut from them to 60, 50, ... 20
// plies, with results in turn, make a file to place damage in: counting names
// the game where it begins, and reading stops there.
TEST(GameFile, GamesAreWrittenLittleEndianAndDamageIsFoundWhereItBegins) {
  GameRecord game = ReadPgnText(SelfPlayGames(1)).games.at(0), back;
  game.header = MakeGameHeader(60, RESULT_WHITE_WON);
  const std::string thirtyMoves = MovesText(game);
  InTempDir dir;
  FileHandle file(std::fopen("five.game", "w+b"));
  for (int g = 0; g < 5; ++g) {
    game.header = MakeGameHeader(60 - 10 * g, std::array{RESULT_WHITE_WON, RESULT_BLACK_WON, RESULT_DRAW}[g % 3]);
    ASSERT_TRUE(WriteGame(game, file.get()));
  }
  std::rewind(file.get());
  ASSERT_TRUE(ReadGame(back, file.get()));
  EXPECT_EQ(std::tuple(back.header, MovesText(back), back.resultLetter, std::string(back.resultText)),
            std::tuple(MakeGameHeader(60, RESULT_WHITE_WON), thirtyMoves, 'W', "1-0"));
  file.reset();
  const std::string games = ReadFile("five.game");
  ASSERT_EQ(games.size(), 122u + 102 + 82 + 62 + 42);
  EXPECT_EQ(games.substr(0, 4), "\x3c\x80\xe3\x0c");  // the first move d2d4 is from 51 to 35

  std::string unfinishedThird = games, overlongSecond = games;
  unfinishedThird[122 + 102 + 1] &= 0x3f;      // result code 0
  overlongSecond.replace(122, 2, "\xd0\x47");  // ply count 2000
  struct Case {
    const char* name;
    std::string bytes;
    int count, readable;
  } const cases[] = {
      {"intact", games, 5, 5}, {"empty", "", 0, 0}, {"cut in the fifth game", games.substr(0, games.size() - 3), -5, 4},
      {"cut in the fifth header", games.substr(0, games.size() - 41), -5, 4},
      {"unfinished third", unfinishedThird, -3, 2}, {"overlong second", overlongSecond, -2, 1},
  };
  for (const Case& c : cases) {
    WriteTextFile("damaged.game", c.bytes);
    FileHandle damaged(std::fopen("damaged.game", "rb"));
    std::fseek(damaged.get(), 7, SEEK_SET);
    EXPECT_EQ(CountGames(damaged.get()), c.count) << c.name;
    EXPECT_EQ(std::ftell(damaged.get()), 7) << c.name;
    std::rewind(damaged.get());
    int read = 0;
    try {
      while (ReadGame(back, damaged.get())) ++read;
    } catch (const ConversionError& error) {
      EXPECT_STREQ(error.what(), "WRONG RESULT") << c.name;
    }
    EXPECT_EQ(read, c.readable) << c.name;
  }
}

}  // namespace
