// Several lines at once over UCI ("MultiPV") and xboard (the option of the same name): each depth shows its lines, best
// first, numbered; the move played is line 1's.
#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>

#include "support/engine_process.h"
#include "support/line_words.h"
#include "support/move_probe.h"

namespace {

struct ShownLine {
  int depth, line, score;
  std::vector<std::string> moves;
};

std::vector<ShownLine> UciLines(const std::vector<std::string>& output) {
  std::vector<ShownLine> shown;
  for (const std::string& text : output) {
    const std::vector<std::string> words = Words(text);
    if (words.empty() || words[0] != "info" || ValueAfter(words, "pv").empty()) continue;
    const auto pv = std::find(words.begin(), words.end(), "pv");
    const std::string multipv = ValueAfter(words, "multipv");
    shown.push_back({std::stoi(ValueAfter(words, "depth")), multipv.empty() ? 0 : std::stoi(multipv),
                     std::stoi(ValueAfter(words, "cp")), {pv + 1, words.end()}});
  }
  return shown;
}

// Lines grouped by depth: each depth has count lines numbered 1 to count, scores not rising, first moves all different.
void ExpectDepthsOfLines(const std::vector<ShownLine>& shown, size_t count) {
  ASSERT_FALSE(shown.empty());
  for (size_t start = 0; start < shown.size(); start += count) {
    ASSERT_LE(start + count, shown.size());
    std::set<std::string> firstMoves;
    for (size_t k = 0; k < count; ++k) {
      const ShownLine& line = shown[start + k];
      EXPECT_EQ(std::tuple(line.depth, line.line), std::tuple(shown[start].depth, static_cast<int>(k) + 1));
      if (k > 0) {
        EXPECT_LE(line.score, shown[start + k - 1].score);
      }
      firstMoves.insert(line.moves.at(0));
    }
    EXPECT_EQ(firstMoves.size(), count);
  }
}

constexpr char ITALIAN[] = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";

}  // namespace

TEST(UciMultiPv, EachDepthShowsItsLinesAndTheMovePlayedIsLineOnes) {
  EngineProcess engine;
  engine.Send(std::string("uci\nsetoption name MultiPV value 3\nposition fen ") + ITALIAN + "\ngo depth 6\n");
  auto output = engine.ReadUntil("bestmove ");
  ASSERT_TRUE(output);
  const std::vector<ShownLine> shown = UciLines(*output);
  ExpectDepthsOfLines(shown, 3);
  const std::vector<std::string> answer = Words(output->back());
  const ShownLine& best = shown[shown.size() - 3];
  EXPECT_EQ(std::tuple(best.depth, answer.at(1), ValueAfter(answer, "ponder")),
            std::tuple(6, best.moves.at(0), best.moves.at(1)));
}

// Analysis goes on until "stop"; searchmoves limits the lines to the moves listed; out-of-range counts are refused.
TEST(UciMultiPv, AnalysisSearchMovesAndRefusedCounts) {
  EngineProcess engine;
  engine.Send(std::string("uci\nsetoption name MultiPV value 9\nsetoption name MultiPV value 0\n"
                          "setoption name MultiPV value 2\nposition fen ") + ITALIAN + "\ngo infinite\n");
  auto output = engine.ReadUntil("info depth 7 ");
  ASSERT_TRUE(output);
  engine.Send("stop\n");
  ASSERT_TRUE(engine.ReadUntil("bestmove "));
  for (const char* refused : {"info string option MultiPV: value not taken: 9",
                              "info string option MultiPV: value not taken: 0"}) {
    EXPECT_EQ(std::count(output->begin(), output->end(), refused), 1) << refused;
  }
  output->pop_back();  // the first line of depth 7, whose second may not have come
  ExpectDepthsOfLines(UciLines(*output), 2);

  engine.Send("setoption name MultiPV value 4\ngo depth 5 searchmoves a2a3 h2h3 e1g1\n");
  output = engine.ReadUntil("bestmove ");
  ASSERT_TRUE(output);
  const std::vector<ShownLine> shown = UciLines(*output);
  ExpectDepthsOfLines(shown, 3);
  for (const ShownLine& line : shown) {
    EXPECT_TRUE(line.moves[0] == "a2a3" || line.moves[0] == "h2h3" || line.moves[0] == "e1g1") << line.moves[0];
  }
}

// Under xboard, "option MultiPV=N" gives N thinking lines a depth in analysis, best first.
TEST(XboardMultiPv, AnalysisShowsEachLine) {
  EngineProcess engine;
  engine.Send(std::string("xboard\nprotover 2\noption MultiPV=3\npost\nsetboard ") + ITALIAN + "\nanalyze\n");
  auto output = engine.ReadUntil("    7 ");
  ASSERT_TRUE(output);
  engine.Send("exit\nquit\n");
  EXPECT_EQ(std::count(output->begin(), output->end(), "feature option=\"MultiPV -spin 1 1 8\""), 1);
  std::vector<ShownLine> shown;
  for (const std::string& line : *output) {
    if (!line.starts_with("    ")) continue;
    std::istringstream words(line);
    ShownLine read{};
    long long centiseconds, nodes;
    words >> read.depth >> read.score >> centiseconds >> nodes;
    read.moves = {std::istream_iterator<std::string>(words), {}};
    read.line = shown.empty() || shown.back().depth != read.depth ? 1 : shown.back().line + 1;
    shown.push_back(read);
  }
  shown.pop_back();  // the first line of depth 7
  ExpectDepthsOfLines(shown, 3);
}
