// The conversion commands: fed to the command loop in this process, and run
// by the built engine over pipes as an operator runs them, through the whole
// chain from PGN games to an opening book the engine plays from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "pgn_test_files.h"
#include "support/command_feed.h"

namespace {

const std::string WHITE_WON = "[Event \"t\"]\n[Result \"1-0\"]\n\n";
const std::string BACK = std::string(8, '\b');

std::vector<std::string> Lines(const std::string& text, bool sorted = false) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (sorted) std::sort(lines.begin(), lines.end());
  return lines;
}

std::string Finished(const std::string& pgnName, int converted, int skipped) {
  return "converted: " + std::to_string(converted) + " games. (skipped: " + std::to_string(skipped) +
         ")\nfile: " + pgnName + " \t\tfinished\n";
}

// The position line of the initial position, before the first move of a game.
std::string InitialLine(char result) {
  LoadPosition(INITIAL_POSITION);
  char key[17];
  std::snprintf(key, sizeof key, "%016" PRIX64, HashKey);
  return key + ("\t" + std::string(INITIAL_POSITION) + "\t" + result + "\t1\n");
}

class Conversions : public testing::Test {
 protected:
  void SetUp() override { InitBoardTables(); }
  std::string Run(const std::string& commands) { return RunCommandsCapturingOutput(commands + "\n"); }
  InTempDir dir_;
};

// Forty real games go into a game file of the size their PlyCount tags say,
// are all skipped when added again, come back as PGN that converts to the
// same bytes, and give position lines for at most their first 64 plies.
TEST_F(Conversions, GamesSurviveTheTripThroughPgnAndAreAddedOnce) {
  const std::string pgn = SelfPlayGames(40);
  WriteTextFile("a.pgn", pgn);
  EXPECT_EQ(Run("pgn2game a.pgn a.game"), Finished("a.pgn", 40, 0));
  const std::string stored = ReadFile("a.game");
  size_t bytes = 0, positions = 0;
  for (size_t at = pgn.find("[PlyCount \""); at != std::string::npos; at = pgn.find("[PlyCount \"", at + 1)) {
    const size_t plies = std::stoul(pgn.substr(at + 11));
    bytes += 2 * (plies + 1);
    positions += std::min<size_t>(plies, 64);
  }
  EXPECT_EQ(stored.size(), bytes);
  EXPECT_TRUE(Run("pgn2game a.pgn a.game").ends_with("game 40 (skipped) file: a.pgn\n" + Finished("a.pgn", 0, 40)));
  EXPECT_EQ(ReadFile("a.game"), stored);

  const std::string toPgn = Run("game2pgn a.game b.pgn");
  EXPECT_TRUE(toPgn.starts_with("Converting 40 games [  0%]..") && toPgn.ends_with("100%]...OK\nconverted: 40 games.\n"));
  EXPECT_TRUE(ReadFile("b.pgn").starts_with("[Result \"1-0\"]\n1. d2d4 e7e6 2. g1f3 c7c5 3. b1c3 "));
  EXPECT_EQ(Run("pgn2game b.pgn b.game"), Finished("b.pgn", 40, 0));
  EXPECT_EQ(ReadFile("b.game"), stored);
  EXPECT_TRUE(Run("game2pos a.game a.pos").ends_with(BACK + "100%]...\tOK\nconverted: 40 games.\n"));
  EXPECT_EQ(Lines(ReadFile("a.pos")).size(), positions);
}

// The output is appended to, and the board is left at the initial position.
TEST_F(Conversions, PositionLinesHoldThePositionsBeforeEachMove) {
  WriteTextFile("a.pgn", "[Result \"0-1\"]\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. c3 Nf6 5. d4 exd4 0-1\n");
  Run("pgn2game a.pgn a.game");
  EXPECT_EQ(Run("game2pos a.game a.pos"), "Converting 1 games [  0%]..." + BACK + "100%]...\tOK\nconverted: 1 games.\n");
  const std::string text = ReadFile("a.pos");
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 10u) << text;
  EXPECT_EQ(lines[0] + "\n", InitialLine('B'));
  EXPECT_EQ(lines[1].substr(17), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\tB\t2");
  EXPECT_EQ(lines[9].substr(17), "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2BPP3/2P2N2/PP3PPP/RNBQK2R b KQkq d3\tB\t10");
  Run("e2e4\ngame2pos a.game a.pos");
  EXPECT_EQ(ReadFile("a.pos"), text + text);
  EXPECT_TRUE(AtLoadedPosition());
}

// A game with a token that is no move and an unfinished game are skipped, and
// the next is read from the initial position. A stored move that is not legal
// skips its game; a game file cut short is neither added to nor converted.
TEST_F(Conversions, GamesThatCannotBeReadAreSkippedAndCorruptFilesRefused) {
  WriteTextFile("a.pgn", WHITE_WON + "1. e4 e5 1-0\n\n" + WHITE_WON + "1. d4 d5 2. c4 Zz9\n3. e3 1-0\n\n" +
                             "[Result \"*\"]\n1. e4 *\n\n" + WHITE_WON + "1. c4 1-0\n");
  EXPECT_EQ(Run("pgn2game a.pgn a.game"), "move: Zz9, plyNo:4\nWarning: game 2 (skipped) file: a.pgn\n"
                                          "Warning: game 3 (skipped) file: a.pgn\n" + Finished("a.pgn", 2, 2));
  EXPECT_EQ(Run("game2pgn a.game b.pgn"),
            "Converting 2 games [  0%]..." + BACK + " 50%]..." + BACK + "100%]...OK\nconverted: 2 games.\n");
  Run("game2pgn a.game b.pgn");
  const std::string games = "[Result \"1-0\"]\n1. e2e4 e7e5 1-0\n[Result \"1-0\"]\n1. c2c4 1-0\n";
  EXPECT_EQ(ReadFile("b.pgn"), games + games);

  std::string bytes = ReadFile("a.game");
  bytes[4] = '\x1b';  // the second move of the first game becomes e7e3
  WriteTextFile("a.game", bytes);
  EXPECT_EQ(Run("game2pos a.game a.pos"), "Converting 2 games [  0%]...Warning: game 1 (skipped) file: a.game\n" +
                                              BACK + " 50%]..." + BACK + "100%]...\tOK\nconverted: 1 games.\n");
  EXPECT_EQ(ReadFile("a.pos"), InitialLine('W'));

  WriteTextFile("a.game", bytes.substr(0, bytes.size() - 1));
  EXPECT_EQ(Run("pgn2game a.pgn a.game"), "Game file corrupted! (error on game: 2)\n");
  EXPECT_EQ(ReadFile("a.game").size(), bytes.size() - 1);
  for (const std::string command : {"game2pgn a.game c.pgn", "game2pos a.game c.pos"}) {
    EXPECT_EQ(Run(command), "Game file corrupted! (error on game: 2)") << command;
  }
}

TEST_F(Conversions, ListedFilesGoIntoOneGameFileUntilAReaderError) {
  WriteTextFile("a.pgn", SelfPlayGames(3));
  WriteTextFile("b.pgn", WHITE_WON + "1. e4 1-0\n" + WHITE_WON + "1. d4 1-0\n");
  WriteTextFile("bad.pgn", "[Result \"?\"]\n1. e4 *\n");
  WriteTextFile("list", "a.pgn\n\nmissing.pgn\nb.pgn\r\nbad.pgn\na.pgn\n");
  EXPECT_EQ(Run("pgnlist2game list all.game"),
            Finished("a.pgn", 3, 0) + "Cannot open PGN input file: 'missing.pgn'\n" + Finished("b.pgn", 2, 0) +
                "converted: 0 games. (skipped: 0)\nERROR: Result Error 1 file: bad.pgn\n\nCONVERTED GAMES: 5\n");
  EXPECT_EQ(Run("pgnlist2game nolist all.game"), "Cannot open PGN input file: 'nolist'\n");
}

// White's score in the games that passed through the position of a FEN, from
// the lines of a position file.
double WhiteScore(const std::string& positions, const std::string& fen) {
  double games = 0, points = 0;
  for (const std::string& line : Lines(positions)) {
    if (line.find("\t" + fen + "\t") == std::string::npos) continue;
    const char result = line[line.rfind('\t') - 1];
    games += 1;
    points += result == 'W' ? 1 : result == 'D' ? 0.5 : 0;
  }
  return points / games;
}

// "pgn2pos" empties its sixteen files at each run and splits the lines that
// "game2pos" writes by the first digit of their key. The lines sorted become
// databases and books: white to move, a position enters the book when white
// scored at most 0.52 from it; black to move, when white scored at least
// 0.53. Started in the folder, the engine plays white's first move from the
// book, a move into a position of the book of black to move.
TEST(ConversionChain, GamesBecomeAnOpeningBookTheEnginePlaysFrom) {
  TempDir dir;
  WriteTextFile(dir.File("games.pgn"), SelfPlayGames(100));
  EngineRun convert = RunEngine(
      "pgn2pos games.pgn\npgn2game games.pgn games.game\ngame2pos games.game games.pos\npgn2pos games.pgn\nquit\n",
      dir.Path());
  EXPECT_TRUE(convert.output.starts_with(Finished("games.pgn", 100, 0) + Finished("games.pgn", 100, 0))) << convert.output;
  EXPECT_NE(convert.log.find("<<< OK:\tgames.pgn\t>>>"), std::string::npos) << convert.log;
  const std::string positions = ReadFile(dir.File("games.pos"));
  std::string split;
  for (char digit : std::string("0123456789ABCDEF")) {
    const std::string lines = ReadFile(dir.File(digit + std::string(".pos")));
    for (const std::string& line : Lines(lines)) EXPECT_EQ(line[0], digit) << line;
    split += lines;
  }
  EXPECT_EQ(Lines(split, true), Lines(positions, true));

  ASSERT_EQ(std::system(("cd '" + dir.Path() + "' && LC_ALL=C sort games.pos > sorted.pos").c_str()), 0);
  EngineRun databases = RunEngine("dbcreate sorted.pos games\nquit\n", dir.Path());
  EXPECT_TRUE(databases.output.ends_with("100%... done.\ncreated.\n")) << databases.output;
  std::filesystem::rename(dir.File("games_white.db"), dir.File("white.db"));
  std::filesystem::rename(dir.File("games_black.db"), dir.File("black.db"));
  EngineRun books = RunEngine("bookcreate\nquit\n", dir.Path());
  EXPECT_TRUE(books.output.ends_with("created.\n")) << books.output;

  std::string expected = WhiteScore(positions, INITIAL_POSITION) <= 0.52 ? "YES\n" : "NO\n";
  for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/6P1/PPPPPP1P/RNBQKBNR b KQkq -",
                          "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3"}) {
    expected += WhiteScore(positions, fen) >= 0.53 ? "YES\n" : "NO\n";
  }
  EXPECT_EQ(RunEngine("new\nforce\nbookshow\ng2g3\nbookshow\nnew\nforce\ne2e4\nbookshow\nquit\n", dir.Path()).output,
            expected);
  EngineRun play = RunEngine("new\ngo\nbookshow\nquit\n", dir.Path());
  EXPECT_EQ(play.startup.find("BOOK ERROR"), std::string::npos) << play.startup;
  ASSERT_TRUE(play.output.starts_with("move ")) << play.output;
  const std::string move = play.output.substr(5, play.output.find('\n') - 5);
  EXPECT_EQ(play.output, "move " + move + "\nYES\n");
  EXPECT_NE(play.log.find("move (book) " + move + "\n- NO ponder move\n"), std::string::npos) << play.log;
}

TEST(ConversionChain, AfterAReaderErrorTheNextCommandFindsTheInitialPosition) {
  TempDir dir;
  WriteTextFile(dir.File("bad.pgn"), "[Result \"1-0\"]\n1. e4 1-0\n\n[Result \"1-0\"]\n1. e4 e5 2. Ke3 1-0\n");
  EngineRun run = RunEngine("new\nforce\nd2d4\npgn2game bad.pgn games.game\nd\nquit\n", dir.Path());
  EXPECT_NE(run.output.find("  A B C D E F G H\nmove: Ke3, plyNo:3\nconverted: 1 games. (skipped: 0)\n"
                            "ERROR: MOVE NOT LEGAL 1 file: bad.pgn\n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("FEN: " + std::string(INITIAL_POSITION) + "\n"), std::string::npos) << run.output;
  EXPECT_NE(run.log.find("Ke3MOVE NOT LEGAL 1\n"), std::string::npos) << run.log;
  EXPECT_NE(run.log.find("converted: 1\tskipped: 0\nERROR: MOVE NOT LEGAL 1\n"), std::string::npos) << run.log;
  EXPECT_EQ(std::filesystem::file_size(dir.File("games.game")), 4u);
}

}  // namespace
