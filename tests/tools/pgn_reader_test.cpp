// The PGN reader on games written by hand: what it stores, what it passes
// over, the errors it raises, and files from anywhere.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pgn_test_files.h"

namespace {

const std::string WHITE_WON = "[Event \"t\"]\n[Result \"1-0\"]\n\n";
const std::string BLACK_WON = "[Event \"t\"]\n[Result \"0-1\"]\n\n";
const std::string DRAWN = "[Event \"t\"]\n[Result \"1/2-1/2\"]\n\n";
const std::string RUY_LOPEZ = "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6";

TEST(PgnReader, StoresMovesWithPlyCountAndResult) {
  struct Case {
    std::string tags, end;
    int code;
    char letter;
  };
  for (const Case& c : {Case{WHITE_WON, "1-0", 2, 'W'}, Case{BLACK_WON, "0-1", 1, 'B'},
                        Case{DRAWN, "1/2-1/2", 3, 'D'}}) {
    PgnReading read = ReadPgnText(c.tags + "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 " + c.end + "\n");
    ASSERT_EQ(read.games.size(), 1u) << c.end << read.error;
    const GameRecord& game = read.games[0];
    EXPECT_EQ(game.header, 6 | c.code << 14);
    EXPECT_EQ(MovesText(game), RUY_LOPEZ);
    EXPECT_EQ(game.resultLetter, c.letter);
    EXPECT_STREQ(game.resultText, c.end.c_str());
    EXPECT_TRUE(read.boardRestored);
  }
}

TEST(PgnReader, PassesOverNumbersAnnotationsCommentsAndVariations) {
  std::string decorated = WHITE_WON +
                          "1.e4 $1 {a {nested} comment} e5\t(1... c5 (1... e6 2. d4) 2. Nf3)\r\n"
                          "2. Nf3!? $14 Nc6 3. Bb5+ {} 3... a6 (3... Nf6 {4. O-O}) 1-0";
  PgnReading read = ReadPgnText(decorated);
  ASSERT_EQ(read.games.size(), 1u) << read.error;
  EXPECT_EQ(MovesText(read.games[0]), RUY_LOPEZ);
  EXPECT_EQ(read.games[0].header, 6 | 2 << 14);
}

TEST(PgnReader, CastlingWithZerosIsAMoveWhateverTheResult) {
  const std::string moves = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 Nf6 5. d3 d6 6. Bg5 0-0 ";
  for (const auto& [tags, end] : {std::pair{BLACK_WON, "0-1"}, std::pair{WHITE_WON, "1-0"},
                                  std::pair{DRAWN, "1/2-1/2"}}) {
    PgnReading read = ReadPgnText(tags + moves + end + "\n");
    ASSERT_EQ(read.games.size(), 1u) << end << ": " << read.error << read.output;
    EXPECT_EQ(MovesText(read.games[0]), "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 d2d3 d7d6 c1g5 e8g8");
  }
  PgnReading longCastling = ReadPgnText(BLACK_WON + "1. d4 d5 2. Nc3 Nc6 3. Bf4 Bf5 4. Qd2 Qd7 5. 0-0-0 0-0-0 0-1");
  ASSERT_EQ(longCastling.games.size(), 1u) << longCastling.error;
  EXPECT_EQ(MovesText(longCastling.games[0]).substr(40), "e1c1 e8c8");
}

TEST(PgnReader, TextThatOnlyBeginsLikeTheResultIsReadAsAMove) {
  PgnReading read = ReadPgnText(WHITE_WON + "1. e4 e5 1-1\n\n" + WHITE_WON + "1. d4 1-0\n");
  EXPECT_EQ(read.error, "");
  EXPECT_EQ(read.skipped, 1);
  EXPECT_EQ(read.output, "move: 1-1, plyNo:3\n");
  ASSERT_EQ(read.games.size(), 1u);
  EXPECT_EQ(MovesText(read.games[0]), "d2d4");
}

TEST(PgnReader, ResultErrorsEndTheReading) {
  struct Case {
    std::string text, error;
  };
  for (const Case& c : {
           Case{"[Result \"?\"]\n1. e4 *\n", "Result Error 1"},
           Case{"[Result \"\"]\n1. e4 *\n", "Result Error 1"},
           Case{"[Event \"no result\"]\n1. e4 1-0\n", "Result Error 2"},
           Case{"1. e4 e5 1-0\n", "Result Error 2"},
           Case{WHITE_WON + "1. e4 e5 *\n", "Result * error"},
       }) {
    PgnReading read = ReadPgnText(c.text + WHITE_WON + "1. d4 1-0\n");
    EXPECT_EQ(read.error, c.error) << c.text;
    EXPECT_TRUE(read.games.empty()) << c.text;
    EXPECT_TRUE(read.boardRestored) << c.text;
  }
  PgnReading unfinished = ReadPgnText("[Result \"*\"]\n1. e4 e5 *\n");
  ASSERT_EQ(unfinished.games.size(), 1u) << unfinished.error;
  EXPECT_EQ(unfinished.games[0].header, 2);
  EXPECT_EQ(unfinished.games[0].resultLetter, '*');
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

TEST(PgnReader, GamesLongerThanARecordKeepTheirFirstPlies) {
  std::string shuffle;
  for (int i = 0; i < 300; ++i) shuffle += "Nf3 Nf6 Ng1 Ng8 ";
  PgnReading read = ReadPgnText(DRAWN + shuffle + "1/2-1/2\n");
  ASSERT_EQ(read.games.size(), 1u) << read.error << read.output;
  EXPECT_EQ(read.games[0].header, 1023 | 3 << 14);
  EXPECT_EQ(MovesText(read.games[0]).substr(4 * 1022 + 1022), "f3g1");
  EXPECT_TRUE(read.boardRestored);
}

TEST(PgnReader, FilesFromAnywhereEndAsGamesSkipsOrErrors) {
  std::string binary = "\x01";
  std::minstd_rand bytes(7);
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(bytes());
  struct Case {
    std::string name, text;
    size_t games;
    int skipped;
    std::string error;
  };
  const Case cases[] = {
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
  };
  for (const Case& c : cases) {
    PgnReading read = ReadPgnText(c.text);
    EXPECT_EQ(read.games.size(), c.games) << c.name;
    EXPECT_EQ(read.skipped, c.skipped) << c.name;
    EXPECT_EQ(read.error, c.error) << c.name;
    EXPECT_TRUE(read.boardRestored) << c.name;
  }
}

// Real games with a few bytes changed or cut short: whatever the reader makes
// of them, it ends, and the board is the initial position again.
TEST(PgnReader, DamagedRealGamesNeverLeaveTheBoardChanged) {
  const std::string games = SelfPlayGames(8);
  std::minstd_rand random(2024);
  for (int trial = 0; trial < 200; ++trial) {
    std::string text = games.substr(0, games.size() - random() % 200);
    for (int change = random() % 6; change > 0; --change) {
      text[random() % text.size()] = "[]{}()*01-/.\n $Q"[random() % 16];
    }
    PgnReading read = ReadPgnText(text);
    ASSERT_TRUE(read.boardRestored) << "trial " << trial;
  }
}

}  // namespace
