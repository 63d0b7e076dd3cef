// Several threads over both protocols: UCI "Threads", xboard "cores"; the move played is the first of the last line
// shown, as with one.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/engine_process.h"
#include "support/line_words.h"

namespace {

constexpr char ITALIAN[] = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";

// The first move of the last line shown before the answer.
std::string LastLineFirstMove(const std::vector<std::string>& output, const std::string& marker) {
  for (auto line = output.rbegin(); line != output.rend(); ++line) {
    const std::vector<std::string> words = Words(*line);
    if (marker == "pv" && !ValueAfter(words, "pv").empty()) return ValueAfter(words, "pv");
    if (marker == "ply" && line->starts_with("    ") && words.size() > 4) return words[4];
  }
  return "";
}

}  // namespace

TEST(UciThreads, TwoThreadsPlayTheLineTheyShowAndCountsOutOfRangeAreRefused) {
  EngineProcess engine;
  engine.Send(std::string("uci\nsetoption name Threads value 0\nsetoption name Threads value 65\n"
                          "setoption name Threads value 2\nsetoption name OwnBook value false\nposition fen ") +
              ITALIAN + "\ngo movetime 700\n");
  auto output = engine.ReadUntil("bestmove ");
  ASSERT_TRUE(output);
  for (const char* refused :
       {"info string option Threads: value not taken: 0", "info string option Threads: value not taken: 65"}) {
    EXPECT_EQ(std::count(output->begin(), output->end(), refused), 1) << refused;
  }
  EXPECT_EQ(Words(output->back()).at(1), LastLineFirstMove(*output, "pv"));
  engine.Send("go depth 7\n");
  output = engine.ReadUntil("bestmove ");
  ASSERT_TRUE(output);
  EXPECT_EQ(Words(output->back()).at(1), LastLineFirstMove(*output, "pv"));
}

TEST(XboardThreads, CoresTwoOfferedAndPlayed) {
  EngineProcess engine;
  engine.Send(std::string("xboard\nprotover 2\ncores 2\nsd 7\npost\nforce\nsetboard ") + ITALIAN + "\ngo\n");
  auto output = engine.ReadUntil("move ");
  ASSERT_TRUE(output);
  engine.Send("quit\n");
  EXPECT_EQ(std::count(output->begin(), output->end(), "feature smp=1"), 1);
  EXPECT_EQ(Words(output->back()).at(1), LastLineFirstMove(*output, "ply"));
}
