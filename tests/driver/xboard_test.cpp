// The engine under an xboard interface: the start-up exchange, its moves and
// claims, pondering, and the words that stop or restart its play. Over pipes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/engine_process.h"

namespace {

const std::string NO_BOOK_REPORT = "BOOK ERROR: Cannot load file: 'bookbtm.mbx'\n\n";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Every line of text that begins with prefix.
std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

TEST(Xboard, HandshakeAnswersTheGreetingAndReadsTheFeatureReplies) {
  EngineProcess engine;
  engine.Send("xboard\nprotover 2\n");
  EXPECT_EQ(engine.ReadLine(), "");
  EXPECT_EQ(engine.ReadLine(), "feature done=0");
  EXPECT_EQ(engine.ReadLine(), "feature setboard=1");
  engine.Send("accepted done\n");
  EXPECT_EQ(engine.ReadLine(), "feature done=1");
  engine.Send("accepted setboard\naccepted done\nquit\n");
  EXPECT_EQ(engine.ReadLine(), "BOOK ERROR: Cannot load file: 'bookbtm.mbx'");
  EXPECT_EQ(engine.ReadLine(), "");
  EXPECT_EQ(engine.ReadToEnd(), "");
  EXPECT_EQ(engine.Wait(), 0);
  // The greeting and the first replies belong to the handshake; the last reply
  // reaches the command loop, which ignores it.
  std::string log = engine.ReadLog();
  EXPECT_FALSE(Contains(log, "protover"));
  EXPECT_TRUE(Contains(log, "::cmd:: accepted\n::cmd:: done\n::cmd:: quit\n")) << log;
  EXPECT_EQ(LinesStartingWith(log, "::cmd:: accepted").size(), 1u);
}

TEST(Xboard, AnotherGreetingIsReportedAndStillCarriedOut) {
  EngineRun run = RunEngine("benchmark x\nquit\n");
  EXPECT_EQ(run.startup,
            "Engine works only with xboard protocol ver. 2\n\nfeature done=0\nfeature setboard=1\n"
            "feature done=1\n" + NO_BOOK_REPORT);
  EXPECT_EQ(run.output, "Define __STAT\n");
  EXPECT_EQ(run.exitCode, 0);
}

TEST(Xboard, MateInOneIsPlayedAndClaimed) {
  EngineProcess engine;
  engine.Send("new\nsetboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -\ngo\n");
  engine.ReadStartup();
  auto lines = engine.ReadUntil("move ");
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->back(), "move a1a8");
  EXPECT_EQ(engine.ReadLine(), "1-0 {Tavrel mates 1}");
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
  EXPECT_TRUE(Contains(engine.ReadLog(), "move a1a8\tscore: 8099\n"));
}

TEST(Xboard, CheckmatedOrStalematedAtItsTurnOnlyClaims) {
  EngineRun mated = RunEngine("new\nsetboard R5k1/5ppp/8/8/8/8/8/6K1 b - -\ngo\nquit\n");
  EXPECT_EQ(LinesStartingWith(mated.output, "move").size(), 0u) << mated.output;
  EXPECT_EQ(LinesStartingWith(mated.output, "1-0").size(), 1u);
  EXPECT_TRUE(Contains(mated.output, "1-0 {Tavrel mated 0}\n"));

  EngineRun stalemated = RunEngine("new\nsetboard 7k/5Q2/6K1/8/8/8/8/8 b - -\ngo\nquit\n");
  EXPECT_EQ(LinesStartingWith(stalemated.output, "move").size(), 0u);
  EXPECT_TRUE(Contains(stalemated.output, "1/2-1/2 {Draw by stalemate (1)}\n"));
}

TEST(Xboard, ThirdOccurrenceIsClaimedInsteadOfMoving) {
  // The knights go out and back twice: the initial position stands for the third time.
  EngineRun run = RunEngine(
      "new\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nf6g8\ngo\nquit\n");
  EXPECT_EQ(LinesStartingWith(run.output, "move").size(), 0u) << run.output;
  EXPECT_TRUE(Contains(run.output, "1/2-1/2 {Draw by 3 fold repetition (2)}\n")) << run.output;
}

TEST(Xboard, ForceStopsPlayAndGoResumesIt) {
  EngineProcess engine;
  engine.Send("new\nforce\ne2e4\nd\n");
  engine.ReadStartup();
  auto shown = engine.ReadUntil("Key: ");
  ASSERT_TRUE(shown);
  for (const std::string& line : *shown) EXPECT_NE(line.rfind("move", 0), 0u) << line;
  engine.Send("easy\ngo\n");
  auto answer = engine.ReadUntil("move ");
  ASSERT_TRUE(answer);
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(Xboard, WithoutPonderingTheEngineWaitsAfterItsMove) {
  EngineProcess engine;
  engine.Send("easy\nnew\nlevel 40 0:10 0\ntime 500\notim 500\ngo\n");
  engine.ReadStartup();
  ASSERT_TRUE(engine.ReadUntil("move "));
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
  std::string log = engine.ReadLog();
  EXPECT_TRUE(Contains(log, "- NO ponder move\n"));
  EXPECT_FALSE(Contains(log, "-ponder move: "));
}

}  // namespace
