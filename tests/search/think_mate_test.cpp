#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "driver/command_loop.h"
#include "line_reader.h"
#include "mate_solver.h"
#include "movegen/move_stack.h"
#include "search/think.h"
#include "search_fixture.h"
#include "whole_position.h"

namespace {

struct MateProblem {
  const char* fen;
  int moves;       // mate in this many moves of the side to move
  i16 score;       // what the search must find: 8100 less the plies to the mate
};

// Each checked below by the plain mate finder too.
const MateProblem MATE_PROBLEMS[] = {
    {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", 1, 8099},     // back rank: Rd8
    {"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - -", 1, 8099},     // the same for black: Rd1
    {"3r3k/6pp/7N/8/2Q5/8/6PP/6K1 w - -", 2, 8097},     // Qg8+ Rxg8 Nf7, smothered
    {"5rk1/5Npp/8/8/2Q5/8/6PP/6K1 w - -", 3, 8095},     // Nh6 double check first
    {"7k/8/5K2/8/8/8/8/R7 w - -", 2, 8097},             // king and rook
};

class MateTest : public SearchTest, public testing::WithParamInterface<MateProblem> {};

TEST_P(MateTest, FindsTheMateWithItsDistanceAndLine) {
  const MateProblem& problem = GetParam();
  Load(problem.fen);
  ASSERT_TRUE(ForcesMateWithin(problem.moves));
  ASSERT_FALSE(problem.moves > 1 && ForcesMateWithin(problem.moves - 1));
  const WholePosition before = WholePosition::Take();

  const Move move = SearchTo(static_cast<u32>(2 * problem.moves + 3));
  EXPECT_EQ(BestScore, problem.score);
  EXPECT_EQ(move, BestMove);
  EXPECT_TRUE(MoveForcesMateWithin(move, problem.moves)) << MoveText(move);
  EXPECT_EQ(WholePosition::Take(), before);
  EXPECT_EQ(UndoTop, UndoRecords);

  // The line: the mating moves of both sides, then the mate sign.
  const std::string line = PvText;
  EXPECT_EQ(line.substr(0, 5), MoveText(move) + " ");
  PlayedLine played(line);
  EXPECT_EQ(played.Moves(), static_cast<size_t>(2 * problem.moves - 1)) << line;
  EXPECT_EQ(played.Rest(), "#") << line;
  EXPECT_TRUE(IsCheckmate()) << line;
}

INSTANTIATE_TEST_SUITE_P(Problems, MateTest, testing::ValuesIn(MATE_PROBLEMS));

// The thinking lines printed while a search runs: depth, score, time, nodes, line.
struct ThinkingLine {
  int depth;
  int score;
  long long centiseconds;
  long long nodes;
  std::string line;
};

std::vector<ThinkingLine> ThinkingLines(const std::string& output) {
  std::vector<ThinkingLine> lines;
  std::istringstream text(output);
  std::string row;
  while (std::getline(text, row)) {
    ThinkingLine line{};
    int lineStart = 0;
    const int read = std::sscanf(row.c_str(), "    %d     %d     %lld     %lld  %n", &line.depth, &line.score,
                                 &line.centiseconds, &line.nodes, &lineStart);
    EXPECT_EQ(read, 4) << row;
    if (read != 4) continue;
    line.line = row.substr(static_cast<size_t>(lineStart));
    lines.push_back(line);
  }
  return lines;
}

std::string SearchPrinting(u32 depth) {
  PrintThinking = true;
  testing::internal::CaptureStdout();
  SearchTest::SearchTo(depth);
  return testing::internal::GetCapturedStdout();
}

using ThinkTest = SearchTest;

TEST_F(ThinkTest, TheFourthIterationThatSeesAMateEndsTheSearch) {
  Load(MATE_PROBLEMS[0].fen);
  const std::string output = SearchPrinting(30);
  EXPECT_EQ(output.rfind("    2     8099     ", 0), 0u) << output;  // the interface's column layout
  const std::vector<ThinkingLine> lines = ThinkingLines(output);
  ASSERT_EQ(lines.size(), 4u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].depth, static_cast<int>(i) + 2);
    EXPECT_EQ(lines[i].score, 8099);
    EXPECT_EQ(lines[i].line, "d1d8 # ");
    EXPECT_GE(lines[i].centiseconds, 0);
    EXPECT_GT(lines[i].nodes, 0);
  }
  EXPECT_EQ(IterationDepth, 5u);
}

TEST_F(ThinkTest, EachCompletedIterationPrintsItsLine) {
  Load("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -");
  const std::vector<ThinkingLine> lines = ThinkingLines(SearchPrinting(5));
  ASSERT_EQ(lines.size(), 4u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].depth, static_cast<int>(i) + 2);
    if (i > 0) {
      EXPECT_GE(lines[i].nodes, lines[i - 1].nodes);  // counted from the start of the search
    }
  }
  EXPECT_EQ(lines.back().score, BestScore);
  EXPECT_EQ(lines.back().nodes, MovesMade);
  EXPECT_EQ(lines.back().line, PvText);
  EXPECT_EQ(lines.back().line.substr(0, 5), MoveText(BestMove) + " ");
  EXPECT_TRUE(PlayedLine(PvText).Rest().empty()) << PvText;  // every move of it legal
}

TEST_F(ThinkTest, APonderSearchPrintsNothing) {
  Load(MATE_PROBLEMS[2].fen);
  EngineState = ENGINE_PONDERING;
  EXPECT_EQ(SearchPrinting(4), "");
  EXPECT_EQ(BestScore, 8097);
}

TEST_F(ThinkTest, CheckmateAtTheRootIsAnsweredWithItsCode) {
  Load("7k/6Q1/6K1/8/8/8/8/8 b - -");
  const std::vector<ThinkingLine> lines = ThinkingLines(SearchPrinting(30));
  EXPECT_EQ(BestMove, GAME_MATED);
  EXPECT_EQ(BestScore, -8100);
  ASSERT_EQ(lines.size(), 4u);  // a mate seen by four iterations
  EXPECT_EQ(lines[0].line, "# ");
}

TEST_F(ThinkTest, StalemateAtTheRootIsAnsweredWithItsCodeAtOnce) {
  Load("7k/5Q2/6K1/8/8/8/8/8 b - -");
  const std::vector<ThinkingLine> lines = ThinkingLines(SearchPrinting(30));
  EXPECT_EQ(BestMove, GAME_STALEMATE);
  EXPECT_EQ(BestScore, 0);
  ASSERT_EQ(lines.size(), 0u);  // the stalemate ends the search before any line
  EXPECT_EQ(IterationDepth, 2u);
}

}  // namespace
