// Corners of xboard that real clients reach: a depth or a level without a clock, time counted in nodes, a bare
// usermove, a hint before any search, a FEN's half-move clock claimed, the move played against the line shown.
#include <algorithm>
#include <iterator>

#include "support/engine_process.h"
#include "support/move_probe.h"

const std::string START = "xboard\nprotover 2\nnew\nforce\n";
const std::string ITALIAN = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";

struct ThinkingLine {
  int depth = 0;
  long long centiseconds = 0, nodes = 0;
  std::vector<std::string> moves;
};

static std::optional<ThinkingLine> ReadThinkingLine(const std::string& line) {
  if (!line.starts_with("    ")) return std::nullopt;
  std::istringstream words(line);
  ThinkingLine read;
  int score;
  words >> read.depth >> score >> read.centiseconds >> read.nodes;
  read.moves = {std::istream_iterator<std::string>(words), {}};
  return read;
}

static std::vector<ThinkingLine> ThinkingLines(const std::vector<std::string>& lines) {
  std::vector<ThinkingLine> read;
  for (const std::string& line : lines) {
    if (auto thinking = ReadThinkingLine(line)) read.push_back(*thinking);
  }
  return read;
}

// "sd" alone searches to its depth; a level with no "time" after it is the clock the move is timed on.
TEST(XboardCorners, ADepthOrALevelWithoutAClockIsSearched) {
  const struct { std::string limits; int depthAtLeast, depthAtMost; } cases[] = {
      {"sd 6\n", 6, 6},
      {"level 0 0:30 0\n", 5, 127},  // about a second of a 30-second game
      {"level 0 0:30 0\nsd 5\n", 5, 5},
      {"level 0 0:30 0\ntime 10\notim 3000\n", 2, 4},  // the clock told: a tenth of a second left
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limits);
    EngineProcess engine;
    engine.Send(START + "option OwnBook=0\nsetboard " + ITALIAN + "\npost\n" + c.limits + "go\n");
    auto lines = engine.ReadUntil("move ", std::chrono::seconds(10));
    ASSERT_TRUE(lines);
    const std::vector<ThinkingLine> thinking = ThinkingLines(*lines);
    ASSERT_FALSE(thinking.empty());
    EXPECT_GE(thinking.back().depth, c.depthAtLeast);
    EXPECT_LE(thinking.back().depth, c.depthAtMost);
    EXPECT_EQ(lines->back(), "move " + thinking.back().moves.at(0));
  }
}

// "nps N": the time of a move is counted in nodes, N a second, and the thinking lines show the time those nodes stand
// for. "new" goes back to the wall clock.
TEST(XboardCorners, NodesPerSecondCountTheTimeInNodes) {
  EngineProcess engine;
  engine.Send(START + "option OwnBook=0\npost\nnps 1\nst 3000\ngo\n");
  auto lines = engine.ReadUntil("move ", std::chrono::seconds(10));
  ASSERT_TRUE(lines);
  const std::vector<ThinkingLine> thinking = ThinkingLines(*lines);
  ASSERT_FALSE(thinking.empty());
  for (const ThinkingLine& line : thinking) {
    EXPECT_EQ(line.centiseconds, line.nodes * 100);  // one node a second
    EXPECT_TRUE(line.depth <= 2 || line.nodes <= 3000) << line.depth << " " << line.nodes;
  }
  engine.Send("new\nforce\nst 1\npost\ngo\n");
  lines = engine.ReadUntil("move ", std::chrono::seconds(10));
  ASSERT_TRUE(lines);
  ASSERT_FALSE(ThinkingLines(*lines).empty());
  EXPECT_LT(ThinkingLines(*lines).back().centiseconds, 200);
}

// A bare "usermove" is an error of its own: the next line is read as the command it is.
TEST(XboardCorners, ABareUsermoveLeavesTheNextLineAlone) {
  const std::string output = RunEngine(START + "usermove\nping 3\nusermove  e2e4  \nusermove e2e5\nd\n").output;
  EXPECT_NE(output.find("Error (no move given): usermove\npong 3\nIllegal move: e2e5\n"), std::string::npos) << output;
  EXPECT_NE(output.find("FEN: rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq"), std::string::npos) << output;
}

// "hint" before the engine has searched anything suggests a legal move, and changes nothing on the board.
TEST(XboardCorners, AHintBeforeAnySearchSuggestsALegalMove) {
  Position pos;
  const std::string positions[] = {INITIAL_POSITION, ITALIAN, "8/8/8/4k3/8/8/8/R3K3 w - - 0 80"};
  for (const std::string& fen : positions) {
    const std::string output = RunEngine(START + "setboard " + fen + "\nd\nhint\nd\n").output;
    const size_t hint = output.find("Hint: ");
    ASSERT_NE(hint, std::string::npos) << output;
    EXPECT_TRUE(LegalAfter(pos, fen, "", output.substr(hint + 6, output.find('\n', hint) - hint - 6))) << output;
    const size_t firstFen = output.find("FEN: "), lastFen = output.rfind("FEN: ");
    EXPECT_EQ(output.substr(firstFen, output.find('\n', firstFen) - firstFen),
              output.substr(lastFen, output.find('\n', lastFen) - lastFen));
  }
}

// A FEN whose half-move clock has reached the fifty-move rule is claimed drawn at once; one below it is played on.
TEST(XboardCorners, AHalfMoveClockAtTheRuleIsClaimed) {
  const std::string claim = "1/2-1/2 {Draw by 50 moves rule (3)}";
  for (const auto& [clock, claimed] : {std::pair("100", true), std::pair("150", true), std::pair("99", false)}) {
    const std::string output = RunEngine(START + "setboard 6r1/3R4/8/8/8/8/8/2k3K1 w - - " + clock +
                                         " 141\nsd 4\ngo\n").output;
    EXPECT_EQ(output.find(claim) != std::string::npos, claimed) << output;
    EXPECT_EQ(output.find("move ") == std::string::npos, claimed) << output;
  }
}

// After an analysis cut short, a move searched in the same position is the first of the last line shown.
TEST(XboardCorners, TheMovePlayedIsTheFirstOfTheLastLineShown) {
  EngineProcess engine;
  engine.Send(START + "option OwnBook=0\npost\nanalyze\n");
  ASSERT_TRUE(engine.ReadUntil("    7 "));
  engine.Send("exit\nsd 3\ngo\n");
  auto lines = engine.ReadUntil("move ");
  ASSERT_TRUE(lines);
  const std::vector<ThinkingLine> thinking = ThinkingLines(*lines);
  ASSERT_FALSE(thinking.empty());
  EXPECT_EQ(lines->back(), "move " + thinking.back().moves.at(0));
}
