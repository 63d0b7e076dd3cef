// The xboard protocol over pipes: depth, thinking lines and hints, what stops a search or waits for it, analysis.
#include <algorithm>
#include <iterator>

#include "support/engine_process.h"
#include "support/move_probe.h"

const std::string HANDSHAKE = "xboard\nprotover 2\n";
// Only a depth limit or a command ends a search on this clock (15 s a move).
const std::string LONG_CLOCK = "level 40 60 0\ntime 600000\notim 600000\n";
const std::string MATE_IN_ONE = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -";

static bool Has(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::ranges::any_of(lines, [&prefix](const std::string& line) { return line.starts_with(prefix); });
}

// The moves of a thinking line ("    depth     score     time     nodes  moves").
static std::vector<std::string> LineMoves(const std::string& line) {
  std::istringstream words(line);
  std::string depth, score, time, nodes;
  words >> depth >> score >> time >> nodes;
  return {std::istream_iterator<std::string>(words), {}};
}

// "sd" limits the depth, "post"/"nopost" switch the thinking lines, a mate is 100000 + moves, and "hint" gives the
// reply the engine expects: the second move of its last thinking line.
TEST(XboardCommands, DepthThinkingLinesMatesAndHints) {
  EngineRun run = RunEngine(HANDSHAKE + "new\nsd 3\n" + LONG_CLOCK + "post\ngo\nhint\n");
  std::istringstream lines(run.output);
  std::string line, last, move, hint;
  while (std::getline(lines, line)) {
    if (line.starts_with("    ")) last = line;
    if (line.starts_with("move ")) move = line.substr(5);
    if (line.starts_with("Hint: ")) hint = line.substr(6);
  }
  ASSERT_TRUE(last.starts_with("    3 ")) << run.output;
  const std::vector<std::string> expected = LineMoves(last);
  ASSERT_GE(expected.size(), 2u) << last;
  EXPECT_EQ(std::tuple(move, hint), std::tuple(expected[0], expected[1])) << run.output;

  run = RunEngine(HANDSHAKE + "new\nnopost\n" + LONG_CLOCK + "sd 4\ngo\n");
  EXPECT_EQ(run.output.find("    2 "), std::string::npos) << run.output;
  run = RunEngine(HANDSHAKE + "new\nsetboard " + MATE_IN_ONE + "\nsd 3\npost\n" + LONG_CLOCK + "go\n");
  EXPECT_NE(run.output.find("     100001     "), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(" # "), std::string::npos) << run.output;  // no marks of the table in a line
}

// While the engine thinks on its move (15 s), a command that takes the turn back stops the search: no move, no claim. A
// ping is answered afterwards.
TEST(XboardSearch, CommandsThatTakeTheTurnBackSendNoMove) {
  for (const std::string& command : std::vector<std::string>{"force", "new", "result 1-0 {over}",
                                                             "setboard " + MATE_IN_ONE, "undo", "remove", "quit"}) {
    EngineProcess engine;
    engine.Send(HANDSHAKE + "new\npost\n" + LONG_CLOCK + "e2e4\n");
    ASSERT_TRUE(engine.ReadUntil("    4 ")) << command;  // thinking, with a move to play
    engine.Send(command + "\nping 9\n");
    if (command == "quit") {
      EXPECT_EQ(engine.ReadToEnd().find("move "), std::string::npos);
      EXPECT_EQ(engine.Wait(), 0);
      continue;
    }
    auto lines = engine.ReadUntil("pong 9");
    ASSERT_TRUE(lines) << command;
    EXPECT_FALSE(Has(*lines, "move ") || Has(*lines, "1-0") || Has(*lines, "0-1") || Has(*lines, "1/2")) << command;
  }
}

// "ping" does not cut the search short: with a depth limit of 5 the move comes from depth 5, then "pong". "?" makes the
// engine move at once.
TEST(XboardSearch, PingWaitsForTheMoveAndMoveNowMoves) {
  EngineProcess engine;
  engine.Send(HANDSHAKE + "new\npost\nsd 5\n" + LONG_CLOCK + "e2e4\nping 3\n");
  auto lines = engine.ReadUntil("pong 3");
  ASSERT_TRUE(lines);
  std::string depthOfMove;
  for (const std::string& line : *lines) {
    if (line.starts_with("    ")) depthOfMove = line.substr(0, 6);
    if (line.starts_with("move ")) break;
  }
  EXPECT_TRUE(Has(*lines, "move ") && depthOfMove == "    5 ") << lines->size();
  engine.Send("force\nnew\nsd 0\ne2e4\n");
  ASSERT_TRUE(engine.ReadUntil("    3 "));
  engine.Send("?\n");
  EXPECT_TRUE(engine.ReadUntil("move "));  // long before the 15 s are up
}

// Analysis prints lines for the position on the board and starts again after a move and after a take-back; "." tells
// its progress; a mated position gives nothing; no move is ever sent.
TEST(XboardAnalysis, StartsAgainOnEveryChangeOfPosition) {
  Position pos;
  EngineProcess engine;
  engine.Send(HANDSHAKE + "new\nforce\npost\nanalyze\n");
  auto firstMoveOfLine = [&engine, &pos](const std::string& played) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      auto lines = engine.ReadUntil("    ");  // a thinking line, from whatever depth the table gives
      if (!lines) return false;
      const std::vector<std::string> moves = LineMoves(lines->back());
      if (!moves.empty() && LegalAfter(pos, INITIAL_POSITION, played, moves[0])) return true;
    }
    return false;
  };
  EXPECT_TRUE(firstMoveOfLine(""));
  engine.Send("e2e4\n");
  EXPECT_TRUE(firstMoveOfLine("e2e4"));
  engine.Send("undo\n");
  EXPECT_TRUE(firstMoveOfLine(""));
  engine.Send("force\n");  // PyChess sends it in analysis: the analysis goes on
  EXPECT_TRUE(firstMoveOfLine(""));
  engine.Send(".\n");
  EXPECT_TRUE(engine.ReadUntil("stat01: "));
  engine.Send("setboard 7k/6Q1/6K1/8/8/8/8/8 b - -\nping 1\n");
  auto lines = engine.ReadUntil("pong 1");
  ASSERT_TRUE(lines);
  engine.Send("ping 2\n");
  auto quiet = engine.ReadUntil("pong 2");
  ASSERT_TRUE(quiet);
  EXPECT_EQ(quiet->size(), 1u);  // nothing printed for the mated position
  engine.Send("exit\nquit\n");
  EXPECT_EQ(engine.ReadToEnd().find("move "), std::string::npos);
  EXPECT_EQ(engine.Wait(), 0);
}
