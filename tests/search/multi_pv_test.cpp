// Several lines at once: each iteration reports the best line, then the best among the moves left, and so on.
#include <map>
#include <set>

#include "search/root_moves.h"
#include "search/search_limits.h"
#include "search_probe.h"

namespace {

struct ReportedLine {
  u32 depth, line;
  i16 score;
  std::string moves;
};
std::vector<ReportedLine> Reported;

void Collect(const IterationReport& report) {
  Reported.push_back({report.depth, report.line, report.score, report.moves});
}

std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

class MultiPvTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    ReportIterationTo = Collect;
    Reported.clear();
  }
  void TearDown() override {
    ReportIterationTo = PrintThinkingLine;
    limits.MultiPvLines = 1;
    AllowOnlyRootMoves(limits, nullptr, 0);
  }
  // The lines of the last iteration reported, in the order reported.
  static std::vector<ReportedLine> LastIteration() {
    std::vector<ReportedLine> last;
    for (const ReportedLine& line : Reported) {
      if (!last.empty() && line.depth != last.back().depth) last.clear();
      last.push_back(line);
    }
    return last;
  }
  Move SearchLines(Position& pos, const char* fen, u32 lines, u32 depth) {
    Load(pos, fen);
    limits.MultiPvLines = lines;
    limits.PrintThinking = true;
    Reported.clear();
    return SearchTo(pos, depth);
  }
};

constexpr const char* POSITIONS[] = {
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
    "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -",
    "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -",  // Ra8 mates, the rest do not
    "8/8/4k3/8/2p5/8/2P5/2K5 b - -",
};

}  // namespace

// Every iteration reports lines 1 to N: N different legal moves, best first, each line legal from its first move on.
TEST_F(MultiPvTest, EachIterationReportsTheBestLinesInOrder) {
  for (SearchKind kind : {SearchKind::Classic, SearchKind::Modern}) {
    limits.CurrentSearchKind = kind;
    for (const char* fen : POSITIONS) {
      SCOPED_TRACE(fen);
      const Move best = SearchLines(pos, fen, 4, 6);
      std::map<u32, std::vector<ReportedLine>> byDepth;
      for (const ReportedLine& line : Reported) byDepth[line.depth].push_back(line);
      ASSERT_EQ(byDepth.begin()->first, 2u);
      for (const auto& [depth, lines] : byDepth) {
        ASSERT_EQ(lines.size(), 4u) << depth;
        std::set<std::string> firstMoves;
        for (size_t k = 0; k < lines.size(); ++k) {
          EXPECT_EQ(lines[k].line, k + 1);
          if (k > 0) {
            EXPECT_LE(lines[k].score, lines[k - 1].score) << depth;
          }
          Line played(pos);
          EXPECT_EQ(played.PlayLegal(lines[k].moves), "") << lines[k].moves;
          firstMoves.insert(FirstWord(lines[k].moves));
        }
        EXPECT_EQ(firstMoves.size(), 4u) << depth;
      }
      EXPECT_EQ(FirstWord(LastIteration()[0].moves), MoveText(best)) << "the move played is line 1's";
      EXPECT_EQ(LastIteration()[0].score, s.BestScore);
    }
  }
}

// Line 1 is what a search for one line finds; line 2 is what a search of every move but line 1's finds (the scores
// a little apart at most: the table has learnt different things on the way).
TEST_F(MultiPvTest, LinesAgreeWithSingleLineSearchesOfTheMovesLeft) {
  constexpr u32 DEPTH = 6;
  constexpr int TABLE_DRIFT = 15;
  for (const char* fen : POSITIONS) {
    SCOPED_TRACE(fen);
    Load(pos, fen);
    const Move single = SearchTo(pos, DEPTH);
    const i16 singleScore = s.BestScore;
    SearchLines(pos, fen, 2, DEPTH);
    const std::vector<ReportedLine> lines = LastIteration();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::tuple(FirstWord(lines[0].moves), lines[0].score), std::tuple(MoveText(single), singleScore));

    Load(pos, fen);
    std::vector<Move> others;
    for (Move move : LegalMoves(pos)) {
      if (move != single) others.push_back(move);
    }
    AllowOnlyRootMoves(limits, others.data(), static_cast<int>(others.size()));
    limits.MultiPvLines = 1;
    const Move second = SearchTo(pos, DEPTH);
    AllowOnlyRootMoves(limits, nullptr, 0);
    EXPECT_EQ(FirstWord(lines[1].moves), MoveText(second));
    EXPECT_NEAR(lines[1].score, s.BestScore, TABLE_DRIFT);
  }
}

// Fewer legal (or allowed) moves than lines asked for give a line for each; one line is reported unnumbered.
TEST_F(MultiPvTest, AsManyLinesAsMovesToChooseFrom) {
  const struct { const char* fen; u32 asked; std::vector<std::string> allowed; size_t lines, number; } cases[] = {
      {"7k/8/8/8/8/8/8/KQ6 b - -", 8, {}, 2, 1},                       // Kg7, Kg8 (the queen holds h7)
      {"7k/6Q1/6K1/8/8/8/8/8 b - -", 3, {}, 1, 1},                     // mated: the result alone
      {POSITIONS[0], 3, {"a2a3", "e1g1"}, 2, 1},                       // searchmoves: two of them
      {POSITIONS[0], 2, {"a2a3", "b1c3", "d2d4", "h2h4"}, 2, 1},
      {POSITIONS[0], 1, {}, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fen);
    Load(pos, c.fen);
    std::vector<Move> allowed;
    for (const std::string& name : c.allowed) allowed.push_back(LegalMoveNamed(pos, name));
    AllowOnlyRootMoves(limits, allowed.data(), static_cast<int>(allowed.size()));
    Reported.clear();
    limits.MultiPvLines = c.asked;
    limits.PrintThinking = true;
    SearchTo(pos, 5);
    const std::vector<ReportedLine> lines = LastIteration();
    ASSERT_EQ(lines.size(), c.lines);
    EXPECT_EQ(lines[0].line, c.number);
    for (const ReportedLine& line : lines) {
      if (!c.allowed.empty()) {
        EXPECT_EQ(std::ranges::count(c.allowed, FirstWord(line.moves)), 1) << line.moves;
      }
    }
    AllowOnlyRootMoves(limits, nullptr, 0);
  }
}
