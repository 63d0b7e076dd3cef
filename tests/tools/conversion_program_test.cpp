// The conversion commands run by the built engine over pipes, as an operator
// runs them: the whole chain from PGN games to an opening book, the sixteen
// position files, and the command after a conversion that ended on an error.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "pgn_test_files.h"
#include "support/engine_process.h"

namespace {

const std::string INITIAL = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// White's score in the games that passed through the position of a FEN, from
// the lines of a position file.
double WhiteScore(const std::string& positions, const std::string& fen) {
  double games = 0, points = 0;
  for (const std::string& line : SortedLines(positions)) {
    if (line.find("\t" + fen + "\t") == std::string::npos) continue;
    char result = line[line.rfind('\t') - 1];
    games += 1;
    points += result == 'W' ? 1 : result == 'D' ? 0.5 : 0;
  }
  return points / games;
}

// "bookshow" in an engine started in the folder, which opens its books.
std::string BookShow(const std::string& folder, const std::string& moves) {
  return RunEngine("new\nforce\n" + moves + "\nbookshow\nquit\n", folder).output;
}

TEST(ConversionProgram, GamesBecomeAnOpeningBook) {
  TempDir dir;
  WriteTextFile(dir.File("games.pgn"), SelfPlayGames(100));
  EngineRun convert = RunEngine("pgn2game games.pgn games.game\ngame2pos games.game games.pos\nquit\n", dir.Path());
  EXPECT_EQ(convert.exitCode, 0);
  std::string output = AfterStartUp(convert.output);
  EXPECT_EQ(output.substr(0, output.find('\n') + 1), "converted: 100 games. (skipped: 0)\n");
  EXPECT_NE(output.find("100%]...\tOK\nconverted: 100 games.\n"), std::string::npos) << output;

  ASSERT_EQ(std::system(("cd '" + dir.Path() + "' && LC_ALL=C sort games.pos > sorted.pos").c_str()), 0);
  EngineRun databases = RunEngine("dbcreate sorted.pos games\nquit\n", dir.Path());
  EXPECT_NE(databases.output.find("created.\n"), std::string::npos) << databases.output;
  std::filesystem::rename(dir.File("games_white.db"), dir.File("white.db"));
  std::filesystem::rename(dir.File("games_black.db"), dir.File("black.db"));
  EngineRun books = RunEngine("bookcreate\nquit\n", dir.Path());
  EXPECT_NE(books.output.find("Generating bookwtm...\n"), std::string::npos) << books.output;
  ASSERT_TRUE(std::filesystem::exists(dir.File("bookbtm.mbk")));

  // White to move, a position enters the book when white scored at most 0.52
  // from it; black to move, when white scored at least 0.53.
  const std::string positions = ReadFile(dir.File("games.pos"));
  EXPECT_EQ(BookShow(dir.Path(), ""), WhiteScore(positions, INITIAL) <= 0.52 ? "YES\n" : "NO\n");
  for (const auto& [move, fen] : {std::pair{"g2g3", "rnbqkbnr/pppppppp/8/8/8/6P1/PPPPPP1P/RNBQKBNR b KQkq -"},
                                  std::pair{"e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3"}}) {
    EXPECT_EQ(BookShow(dir.Path(), move), WhiteScore(positions, fen) >= 0.53 ? "YES\n" : "NO\n") << move;
  }

  // Started in the folder, the engine plays white's first move from the book:
  // a move into a position of the book of black to move.
  EngineRun play = RunEngine("new\ngo\nbookshow\nquit\n", dir.Path());
  EXPECT_EQ(play.startup.find("BOOK ERROR"), std::string::npos) << play.startup;
  size_t moveLine = play.output.find("move ");
  ASSERT_EQ(moveLine, 0u) << play.output;
  std::string move = play.output.substr(5, play.output.find('\n') - 5);
  EXPECT_EQ(play.output, "move " + move + "\nYES\n");
  EXPECT_NE(play.log.find("move (book) " + move + "\n- NO ponder move\n"), std::string::npos) << play.log;
}

TEST(ConversionProgram, PgnToPosSplitsThePositionsByTheirKeys) {
  TempDir dir;
  WriteTextFile(dir.File("games.pgn"), SelfPlayGames(30));
  const std::string commands = "pgn2pos games.pgn\npgn2game games.pgn games.game\ngame2pos games.game games.pos\n";
  EngineRun run = RunEngine(commands + "pgn2pos games.pgn\nquit\n", dir.Path());
  EXPECT_EQ(AfterStartUp(run.output).rfind("converted: 30 games. (skipped: 0)\nfile: games.pgn \t\tfinished\n", 0), 0u)
      << run.output;
  EXPECT_NE(run.log.find("<<< OK:\tgames.pgn\t>>>"), std::string::npos) << run.log;
  std::string all;
  for (char digit : std::string("0123456789ABCDEF")) {
    std::string lines = ReadFile(dir.File(std::string(1, digit) + ".pos"));
    for (const std::string& line : SortedLines(lines)) EXPECT_EQ(line[0], digit) << line;
    all += lines;
  }
  // The second run emptied the files first: they hold each position once, as game2pos writes them.
  EXPECT_EQ(SortedLines(all), SortedLines(ReadFile(dir.File("games.pos"))));
}

TEST(ConversionProgram, AfterAReaderErrorTheNextCommandFindsTheInitialPosition) {
  TempDir dir;
  WriteTextFile(dir.File("bad.pgn"), "[Result \"1-0\"]\n1. e4 1-0\n\n[Result \"1-0\"]\n1. e4 e5 2. Ke3 1-0\n");
  EngineRun run = RunEngine("new\nforce\nd2d4\npgn2game bad.pgn games.game\nd\nquit\n", dir.Path());
  std::string output = AfterStartUp(run.output);
  EXPECT_NE(output.find("move: Ke3, plyNo:3\nconverted: 1 games. (skipped: 0)\nERROR: MOVE NOT LEGAL 1 file: bad.pgn\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("FEN: " + INITIAL + "\n"), std::string::npos) << output;
  EXPECT_NE(run.log.find("Ke3MOVE NOT LEGAL 1\n"), std::string::npos) << run.log;
  EXPECT_NE(run.log.find("converted: 1\tskipped: 0\nERROR: MOVE NOT LEGAL 1\n"), std::string::npos) << run.log;
  EXPECT_EQ(std::filesystem::file_size(dir.File("games.game")), 4u);
}

}  // namespace
