// Perft against counts of independent programs, in both colours; "perft" and "divide" over pipes.
#include "movegen/perft.h"
#include "movegen_probe.h"
#include "support/engine_process.h"

constexpr u64 NODE_BUDGET = SANITIZED ? 150'000 : 6'000'000;

// Perft as the command runs it, from the first record.
static u64 PerftFromRoot(Position& pos, int depth) {
  pos.UndoTop = pos.UndoRecords;
  return Perft(pos, depth);
}

// Perft counts the nodes of plies 1..d together: the sum of the leaf counts.
TEST(Perft, KnownPositionsCountTheirNodesInBothColours) {
  Position pos;
  std::vector<KnownCounts> positions = ReadPerftFile();
  ASSERT_GE(positions.size(), 8u);
  for (const KnownCounts& known : positions) {
    for (const std::string& fen : {known.fen, MirroredFen(known.fen)}) {
      Load(pos, fen);
      const auto position = std::tuple(pos.HashKey, pos.HistoryTop);
      u64 cumulative = 0;
      for (size_t d = 1; d <= known.leaves.size() && cumulative + known.leaves[d - 1] <= NODE_BUDGET; ++d) {
        cumulative += known.leaves[d - 1];
        EXPECT_EQ(PerftFromRoot(pos, static_cast<int>(d)), cumulative) << fen << " depth " << d;
      }
      EXPECT_EQ(std::tuple(pos.HashKey, pos.HistoryTop), position) << fen;
    }
  }
}

// What the engine printed after start-up, the seconds of each perft line ("1\t0.0\t20", always one decimal) written
// "-"; only the lines starting with one of the prefixes, when given.
static std::string Printed(const std::string& input, std::initializer_list<std::string> prefixes = {}) {
  EngineRun run = RunEngine(input);
  EXPECT_EQ(run.exitCode, 0) << input;
  std::istringstream lines(run.output);
  std::string printed;
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.find('\t'), secondTab = line.find('\t', tab + 1), point = line.find('.', tab);
    const bool seconds = secondTab != std::string::npos && point == secondTab - 2;
    const bool kept = prefixes.size() == 0 || std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) {
      return line.starts_with(p);
    });
    if (kept) printed += (seconds ? line.substr(0, tab) + "\t-" + line.substr(secondTab) : line) + "\n";
  }
  return printed;
}

TEST(PerftAndDivideCommands, EachDepthThenTheTotalAndTheMovesMadeOrTheLeavesBelowEachMove) {
  auto startDivide = [](int leaves) {
    std::istringstream moves(START_MOVES);
    std::string text;
    for (std::string move; moves >> move;) text += move + ": " + std::to_string(leaves) + "\n";
    return text + "Nodes: " + std::to_string(20 * leaves) + "\n";
  };
  const std::string header = "ply\tduration\tnodes\n", none = header + "total nodes: 0\n(total moves[32]: 0)\n";
  EXPECT_EQ(Printed("new\nperft 3\ndivide 2\ndivide 1\ndivide 0\nquit\n"),
            header + "1\t-\t20\n2\t-\t420\n3\t-\t9322\ntotal nodes: 9762\n(total moves[32]: 9762)\n" +
                startDivide(20) + startDivide(1) + "Nodes: 0\n");
  // The pinned knight's six moves are made and rejected, the king's four count; depths below 1 count nothing, and a
  // word that is no number is left to be read as a command.
  EXPECT_EQ(Printed("setboard 4k3/8/8/8/4r3/8/4N3/4K3 w - -\nperft 1\nperft 0\nperft -3\nperft quit\nperft 1\n"),
            header + "1\t-\t4\ntotal nodes: 4\n(total moves[32]: 10)\n" + none + none + none);
  // Stalemate, then mate: each depth makes the king's one step to g8 and rejects it, up to depth 127.
  std::string deep = header;
  for (int depth = 1; depth <= PERFT_MAX_DEPTH; ++depth) deep += std::to_string(depth) + "\t-\t0\n";
  EXPECT_EQ(Printed("setboard 7k/5Q2/6K1/8/8/8/8/8 b - -\nperft 2\nsetboard 7k/6Q1/6K1/8/8/8/8/8 b - -\nperft 200\n"),
            header + "1\t-\t0\n2\t-\t0\ntotal nodes: 0\n(total moves[32]: 2)\n" + deep +
                "total nodes: 0\n(total moves[32]: 127)\n");
  const std::string known =
      Printed("setboard r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -\ndivide 3\n");
  EXPECT_EQ(std::count(known.begin(), known.end(), '\n'), 48 + 1);
  EXPECT_TRUE(known.ends_with("\nNodes: 97862\n")) << known;
}
