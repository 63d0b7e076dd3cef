// The conversion commands fed to the command loop in this process, on files
// in a folder of their own: what they print, and what the files then hold.
#include <gtest/gtest.h>

#include <cinttypes>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/position.h"
#include "pgn_test_files.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

namespace {

const std::string WHITE_WON = "[Event \"t\"]\n[Result \"1-0\"]\n\n";
const std::string BACK = std::string(8, '\b');

// The bytes a game file of the games of a PGN text takes, from their PlyCount tags.
size_t GameFileSize(const std::string& pgn) {
  const std::string tag = "[PlyCount \"";
  size_t bytes = 0;
  for (size_t at = pgn.find(tag); at != std::string::npos; at = pgn.find(tag, at + 1)) {
    bytes += 2 * (std::stoul(pgn.substr(at + tag.size())) + 1);
  }
  return bytes;
}

std::string Finished(const std::string& pgnName, int converted, int skipped) {
  return "converted: " + std::to_string(converted) + " games. (skipped: " + std::to_string(skipped) +
         ")\nfile: " + pgnName + " \t\tfinished\n";
}

class ConversionCommands : public testing::Test {
 protected:
  void SetUp() override { InitBoardTables(); }

  std::string Path(const std::string& name) const { return dir_.File(name); }
  std::string Run(const std::string& commands) { return RunCommandsCapturingOutput(commands + "\n"); }

  TempDir dir_;
};

TEST_F(ConversionCommands, GamesAreAddedOnceAndSurviveTheTripThroughPgn) {
  const std::string pgn = SelfPlayGames(40);
  WriteTextFile(Path("a.pgn"), pgn);
  EXPECT_EQ(Run("pgn2game " + Path("a.pgn") + " " + Path("a.game")), Finished(Path("a.pgn"), 40, 0));
  const std::string stored = ReadFile(Path("a.game"));
  EXPECT_EQ(stored.size(), GameFileSize(pgn));

  std::string again = Run("pgn2game " + Path("a.pgn") + " " + Path("a.game"));
  EXPECT_EQ(again.substr(again.size() - Finished(Path("a.pgn"), 0, 40).size()), Finished(Path("a.pgn"), 0, 40));
  EXPECT_NE(again.find("Warning: game 40 (skipped) file: " + Path("a.pgn") + "\n"), std::string::npos);
  EXPECT_EQ(ReadFile(Path("a.game")), stored);

  std::string toPgn = Run("game2pgn " + Path("a.game") + " " + Path("b.pgn"));
  EXPECT_EQ(toPgn.substr(0, 28), "Converting 40 games [  0%]..");
  const std::string done = BACK + "100%]...OK\nconverted: 40 games.\n";
  EXPECT_EQ(toPgn.substr(toPgn.size() - done.size()), done);
  EXPECT_EQ(Run("pgn2game " + Path("b.pgn") + " " + Path("b.game")), Finished(Path("b.pgn"), 40, 0));
  EXPECT_EQ(ReadFile(Path("b.game")), stored);
  EXPECT_EQ(ReadFile(Path("b.pgn")).rfind("[Result \"1-0\"]\n1. d2d4 e7e6 2. g1f3 c7c5 3. b1c3 ", 0), 0u);
}

// The second game has a token that is no move, the third is unfinished: both
// are skipped, and the fourth is read from the initial position.
TEST_F(ConversionCommands, GamesWithATokenThatIsNoMoveOrUnfinishedAreSkipped) {
  WriteTextFile(Path("a.pgn"), WHITE_WON + "1. e4 e5 1-0\n\n" + WHITE_WON + "1. d4 d5 2. c4 Zz9\n3. e3 1-0\n\n" +
                                   "[Result \"*\"]\n1. e4 *\n\n" + WHITE_WON + "1. c4 1-0\n");
  const std::string warning = "(skipped) file: " + Path("a.pgn") + "\n";
  EXPECT_EQ(Run("pgn2game " + Path("a.pgn") + " " + Path("a.game")),
            "move: Zz9, plyNo:4\nWarning: game 2 " + warning + "Warning: game 3 " + warning +
                Finished(Path("a.pgn"), 2, 2));
  EXPECT_EQ(Run("game2pgn " + Path("a.game") + " " + Path("b.pgn")),
            "Converting 2 games [  0%]..." + BACK + " 50%]..." + BACK + "100%]...OK\nconverted: 2 games.\n");
  const std::string games = "[Result \"1-0\"]\n1. e2e4 e7e5 1-0\n[Result \"1-0\"]\n1. c2c4 1-0\n";
  EXPECT_EQ(ReadFile(Path("b.pgn")), games);
  Run("game2pgn " + Path("a.game") + " " + Path("b.pgn"));
  EXPECT_EQ(ReadFile(Path("b.pgn")), games + games);
}

TEST_F(ConversionCommands, CorruptGameFileIsNeitherAddedToNorConverted) {
  WriteTextFile(Path("a.pgn"), SelfPlayGames(5));
  Run("pgn2game " + Path("a.pgn") + " " + Path("a.game"));
  std::string bytes = ReadFile(Path("a.game"));
  WriteTextFile(Path("a.game"), bytes.substr(0, bytes.size() - 3));
  WriteTextFile(Path("b.pgn"), SelfPlayGames(8));
  EXPECT_EQ(Run("pgn2game " + Path("b.pgn") + " " + Path("a.game")), "Game file corrupted! (error on game: 5)\n");
  EXPECT_EQ(ReadFile(Path("a.game")).size(), bytes.size() - 3);
  EXPECT_EQ(Run("game2pgn " + Path("a.game") + " " + Path("c.pgn")), "Game file corrupted! (error on game: 5)");
  EXPECT_EQ(Run("game2pos " + Path("a.game") + " " + Path("c.pos")), "Game file corrupted! (error on game: 5)");
}

TEST_F(ConversionCommands, ListedFilesGoIntoOneGameFileUntilAReaderError) {
  WriteTextFile(Path("a.pgn"), SelfPlayGames(3));
  WriteTextFile(Path("b.pgn"), WHITE_WON + "1. e4 1-0\n" + WHITE_WON + "1. d4 1-0\n");
  WriteTextFile(Path("bad.pgn"), "[Result \"?\"]\n1. e4 *\n");
  WriteTextFile(Path("list"), Path("a.pgn") + "\n\n" + Path("missing.pgn") + "\n" + Path("b.pgn") + "\r\n" +
                                  Path("bad.pgn") + "\n" + Path("a.pgn") + "\n");
  EXPECT_EQ(Run("pgnlist2game " + Path("list") + " " + Path("all.game")),
            Finished(Path("a.pgn"), 3, 0) + "Cannot open PGN input file: '" + Path("missing.pgn") + "'\n" +
                Finished(Path("b.pgn"), 2, 0) + "converted: 0 games. (skipped: 0)\nERROR: Result Error 1 file: " +
                Path("bad.pgn") + "\n\nCONVERTED GAMES: 5\n");
  EXPECT_EQ(Run("pgnlist2game " + Path("nolist") + " " + Path("all.game")),
            "Cannot open PGN input file: '" + Path("nolist") + "'\n");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

TEST_F(ConversionCommands, PositionLinesCoverTheFirst64PliesOfEachGame) {
  WriteTextFile(Path("a.pgn"), SelfPlayGames(1) + "[Result \"0-1\"]\n" +
                                   "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. c3 Nf6 5. d4 exd4 0-1\n");
  Run("pgn2game " + Path("a.pgn") + " " + Path("a.game"));
  EXPECT_EQ(Run("game2pos " + Path("a.game") + " " + Path("a.pos")),
            "Converting 2 games [  0%]..." + BACK + " 50%]..." + BACK + "100%]...\tOK\nconverted: 2 games.\n");
  std::vector<std::string> lines = Lines(ReadFile(Path("a.pos")));
  ASSERT_EQ(lines.size(), 64u + 10u);
  EXPECT_EQ(lines[1].substr(lines[1].size() - 4), "\tW\t2");
  EXPECT_EQ(lines[63].substr(lines[63].size() - 5), "\tW\t64");
  LoadPosition(INITIAL_POSITION);
  char initialKey[17];
  std::snprintf(initialKey, sizeof initialKey, "%016" PRIX64, HashKey);
  EXPECT_EQ(lines[0], std::string(initialKey) + "\t" + INITIAL_POSITION + "\tW\t1");
  EXPECT_EQ(lines[64], lines[0].substr(0, lines[0].size() - 3) + "B\t1");
  EXPECT_EQ(lines[65].substr(17), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\tB\t2");
  EXPECT_EQ(lines[66].substr(17), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6\tB\t3");
  EXPECT_EQ(lines[73].substr(17), "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2BPP3/2P2N2/PP3PPP/RNBQK2R b KQkq d3\tB\t10");

  // The output is appended to, and the board is left at the initial position.
  RunCommandsCapturingOutput("e2e4\ngame2pos " + Path("a.game") + " " + Path("a.pos") + "\n");
  EXPECT_EQ(Lines(ReadFile(Path("a.pos"))).size(), 2 * lines.size());
  EXPECT_EQ(lines[0].substr(0, 16), initialKey);
  EXPECT_TRUE(AtLoadedPosition());
}

TEST_F(ConversionCommands, StoredGameWithAMoveThatIsNotLegalWritesNoPositions) {
  WriteTextFile(Path("a.pgn"), WHITE_WON + "1. e4 e5 1-0\n" + WHITE_WON + "1. d4 d5 1-0\n");
  Run("pgn2game " + Path("a.pgn") + " " + Path("a.game"));
  std::string bytes = ReadFile(Path("a.game"));
  bytes[4] = '\x1b';  // the second move of the first game becomes e7e3
  WriteTextFile(Path("a.game"), bytes);
  EXPECT_EQ(Run("game2pos " + Path("a.game") + " " + Path("a.pos")),
            "Converting 2 games [  0%]...Warning: game 1 (skipped) file: " + Path("a.game") + "\n" + BACK +
                " 50%]..." + BACK + "100%]...\tOK\nconverted: 1 games.\n");
  std::vector<std::string> lines = Lines(ReadFile(Path("a.pos")));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].substr(17), "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3\tW\t2");
}

}  // namespace
