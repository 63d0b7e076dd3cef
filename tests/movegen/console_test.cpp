// "perft", "divide" and the interface's moves, over the pipes of the built engine.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/engine_process.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The node counts of the depth lines ("depth<tab>seconds<tab>nodes", the
// seconds with one decimal), checking that the depths run 1, 2, ...
std::vector<std::string> DepthCounts(const std::vector<std::string>& lines) {
  std::vector<std::string> counts;
  for (const std::string& line : lines) {
    size_t first = line.find('\t'), second = line.find('\t', first + 1);
    if (second == std::string::npos) continue;
    std::string depth = line.substr(0, first), seconds = line.substr(first + 1, second - first - 1);
    std::string nodes = line.substr(second + 1);
    if (!IsNumber(depth)) continue;
    size_t point = seconds.find('.');
    EXPECT_TRUE(point != std::string::npos && IsNumber(seconds.substr(0, point)) &&
                seconds.size() == point + 2 && IsNumber(seconds.substr(point + 1)))
        << line;
    EXPECT_TRUE(IsNumber(nodes)) << line;
    EXPECT_EQ(std::stoi(depth), static_cast<int>(counts.size()) + 1) << line;
    counts.push_back(nodes);
  }
  return counts;
}

TEST(PerftCommand, StartPositionCountsEveryPlyTogether) {
  EngineRun run = RunEngine("new\nperft 3\nquit\n");
  std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 6u) << run.output;
  EXPECT_EQ(lines[0], "ply\tduration\tnodes");
  EXPECT_EQ(DepthCounts(lines), (std::vector<std::string>{"20", "420", "9322"}));
  EXPECT_EQ(lines[4], "total nodes: 9762");
  EXPECT_EQ(run.exitCode, 0);
}

TEST(PerftCommand, MovesMadeIncludeTheRejectedOnes) {
  // The pinned knight's six moves are made and taken back; the king's four count.
  EngineRun run = RunEngine("setboard 4k3/8/8/8/4r3/8/4N3/4K3 w - -\nperft 1\n");
  std::vector<std::string> lines = Lines(run.output);
  EXPECT_EQ(DepthCounts(lines), std::vector<std::string>{"4"});
  ASSERT_EQ(lines.size(), 4u) << run.output;
  EXPECT_EQ(lines[2], "total nodes: 4");
  EXPECT_EQ(lines[3], "(total moves[32]: 10)");
}

TEST(PerftCommand, DepthZeroOrMissingPrintsOnlyTheTotals) {
  const std::string empty = "ply\tduration\tnodes\ntotal nodes: 0\n(total moves[32]: 0)\n";
  EXPECT_EQ(RunEngine("new\nperft 0\n").output, empty);
  EXPECT_EQ(RunEngine("new\nperft -3\n").output, empty);
  // A word that is no number is left to be read as a command.
  EXPECT_EQ(RunEngine("new\nperft quit\nperft 1\n").output, empty);
}

TEST(PerftCommand, DeepRequestsStopAt127) {
  // Mate: each depth makes the one king step and rejects it.
  EngineRun run = RunEngine("setboard 7k/6Q1/6K1/8/8/8/8/8 b - -\nperft 200\n");
  std::vector<std::string> lines = Lines(run.output);
  std::vector<std::string> counts = DepthCounts(lines);
  EXPECT_EQ(counts, std::vector<std::string>(127, "0"));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "total nodes: 0");
  EXPECT_EQ(lines.back(), "(total moves[32]: 127)");
}

TEST(DivideCommand, StartPositionInGenerationOrder) {
  EngineRun run = RunEngine("new\ndivide 2\n");
  EXPECT_EQ(run.output,
            "g1h3: 20\ng1f3: 20\nb1c3: 20\nb1a3: 20\nh2h4: 20\ng2g4: 20\nf2f4: 20\ne2e4: 20\n"
            "d2d4: 20\nc2c4: 20\nb2b4: 20\na2a4: 20\nh2h3: 20\ng2g3: 20\nf2f3: 20\ne2e3: 20\n"
            "d2d3: 20\nc2c3: 20\nb2b3: 20\na2a3: 20\nNodes: 400\n");
}

TEST(DivideCommand, LeavesOfAKnownPosition) {
  EngineRun run = RunEngine(
      "setboard r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -\ndivide 3\n");
  std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 49u);
  EXPECT_EQ(lines.back(), "Nodes: 97862");
  EXPECT_EQ(RunEngine("new\ndivide 1\n").output.substr(0, 9), "g1h3: 1\ng");
  EXPECT_EQ(RunEngine("new\ndivide 0\n").output, "Nodes: 0\n");
}

TEST(GameMoves, OnlyLegalMovesArePlayed) {
  struct Case {
    const char* position;
    const char* refused;
    const char* played;
  };
  const Case cases[] = {
      // The kings may not stand side by side.
      {"8/8/8/3k4/8/3K4/8/8 w - -", "d3d4", "d3e3"},
      // Castling through an attacked square.
      {"r3kr2/8/8/8/8/8/8/R3K2R w KQ -", "e1g1", "e1c1"},
      // A pinned knight, and a pawn reaching the last rank without a piece.
      {"4k3/8/8/8/4r3/8/4N3/4K3 w - -", "e2c3", "e1d1"},
      {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7a8", "a7a8q"},
  };
  for (const Case& c : cases) {
    std::string input = std::string("force\nsetboard ") + c.position + "\nd\n" + c.refused + "\nd\n" +
                        c.played + "\nd\n";
    std::vector<std::string> fens;
    EngineRun run = RunEngine(input);
    for (const std::string& line : Lines(run.output)) {
      if (line.rfind("FEN: ", 0) == 0) fens.push_back(line);
    }
    ASSERT_EQ(fens.size(), 3u) << run.output;
    EXPECT_NE(run.output.find(std::string("Illegal move: ") + c.refused + "\n"), std::string::npos);
    EXPECT_EQ(fens[0], fens[1]) << c.refused;
    EXPECT_NE(fens[1], fens[2]) << c.played;
    EXPECT_EQ(run.output.find(std::string("Illegal move: ") + c.played + "\n"), std::string::npos);
  }
}

}  // namespace
