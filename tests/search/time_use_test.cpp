// When a search on the clock stops: the classic search when its budget is
// spent, the modern one between iterations, letting an iteration under way run
// on to a few budgets; neither past the hard limit.
#include "search_probe.h"

namespace {

struct ClockCase {
  const char* what;
  SearchKind kind;
  i64 budgetMs, hardLimitMs;
  u32 iteration;
  i64 elapsedMs;
  bool bestMoveChanged;
  bool noNewIteration;  // NoTimeForAnotherIteration
  bool timeUp;          // TimeIsUp
};

constexpr SearchKind CLASSIC = SearchKind::Classic, MODERN = SearchKind::Modern;

constexpr ClockCase CLOCK_CASES[] = {
    {"under half the budget: another iteration", MODERN, 1000, 5000, 5, 400, false, false, false},
    {"past half of it: none, the one under way goes on", MODERN, 1000, 5000, 5, 600, false, true, false},
    {"the best move changed: up to four fifths", MODERN, 1000, 5000, 5, 600, true, false, false},
    {"the best move changed, past four fifths", MODERN, 1000, 5000, 5, 900, true, true, false},
    {"an iteration under way runs past the budget", MODERN, 1000, 5000, 5, 2500, false, true, false},
    {"but not past three budgets", MODERN, 1000, 5000, 5, 3000, false, true, true},
    {"nor past the hard limit", MODERN, 3000, 4000, 5, 4000, false, true, true},
    {"the first iterations always run", MODERN, 1000, 5000, 2, 900, false, false, false},
    {"a fixed time a move is used whole", MODERN, 1000, 1000, 5, 900, false, false, false},
    {"a fixed time a move ends with it", MODERN, 1000, 1000, 5, 1000, false, false, true},
    {"classic: iterations until the budget", CLASSIC, 1000, 5000, 5, 900, false, false, false},
    {"classic: the budget ends the search", CLASSIC, 1000, 5000, 5, 1000, false, false, true},
};

}  // namespace

TEST_F(SearchTest, ModernSearchDecidesBetweenIterationsAndClassicAtTheBudget) {
  for (const ClockCase& c : CLOCK_CASES) {
    std::tie(limits.CurrentSearchKind, limits.CurrentSearchMode, limits.TimeBudgetMs, limits.HardTimeLimitMs) =
        std::tuple(c.kind, SearchMode::OwnMove, c.budgetMs, c.hardLimitMs);
    std::tie(s.IterationDepth, s.MoveToPlayKnown) = std::tuple(c.iteration, true);
    // Time only passes during the case, which never turns a stop into going on.
    limits.SearchStartClock = ClockMs() - c.elapsedMs;
    EXPECT_EQ(NoTimeForAnotherIteration(s, c.bestMoveChanged), c.noNewIteration) << c.what;
    EXPECT_EQ(TimeIsUp(s, pos), c.timeUp) << c.what;
  }
}

TEST_F(SearchTest, SearchesWithoutAMoveToPlayAndHelpersNeverStopForTheClock) {
  limits.CurrentSearchKind = SearchKind::Modern;
  std::tie(limits.TimeBudgetMs, limits.HardTimeLimitMs, limits.SearchStartClock) = std::tuple(1000, 5000, ClockMs() - 6000);
  std::tie(s.IterationDepth, s.MoveToPlayKnown) = std::tuple(5u, true);
  for (SearchMode mode : {SearchMode::Ponder, SearchMode::Analysis}) {
    limits.CurrentSearchMode = mode;
    EXPECT_FALSE(NoTimeForAnotherIteration(s, false));
    EXPECT_FALSE(TimeIsUp(s, pos));
  }
  limits.CurrentSearchMode = SearchMode::OwnMove;
  s.IsHelper = true;
  EXPECT_FALSE(NoTimeForAnotherIteration(s, false)) << "a helper searches on until the reporting thread stops";
  EXPECT_FALSE(TimeIsUp(s, pos));
  s.IsHelper = false;
  s.MoveToPlayKnown = false;
  EXPECT_FALSE(TimeIsUp(s, pos)) << "the engine's move is searched on until it has one";
}

// On a real clock, the modern search answers within its limits.
TEST_F(SearchTest, ModernSearchOnTheClockAnswersWithinItsLimits) {
  Load(pos, "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -");
  std::tie(limits.CurrentSearchKind, limits.TimeBudgetMs, limits.HardTimeLimitMs) = std::tuple(SearchKind::Modern, 100, 1000);
  const i64 start = ClockMs();
  const Move move = SearchTo(pos, 60);
  const i64 spent = ClockMs() - start;
  EXPECT_TRUE(IsLegalMove(pos, move));
  EXPECT_GE(s.IterationDepth, 3u) << "the first iterations run whatever the clock";
  EXPECT_LT(spent, 1000) << "three budgets are 300 ms; the hard limit is never passed";
  limits.CurrentSearchKind = SearchKind::Classic;
}
