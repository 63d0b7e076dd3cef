// The history the search orders quiet moves by: forgotten at a load, halved
// instead of forgotten after a game move when the modern search keeps it.
#include <gtest/gtest.h>

#include <memory>

#include "search/searcher.h"

namespace {

struct AgedCounter {
  u32 history;
  i16 bounded;
  u32 historyAfter;
  i16 boundedAfter;
};

// Halving rounds toward zero on both sides, so a counter of one side never
// crosses to the other.
constexpr AgedCounter AGED_COUNTERS[] = {
    {0, 0, 0, 0},       {1, 1, 0, 0},         {7, -1, 3, 0},
    {1000, -3, 500, -1}, {4000000000u, 8192, 2000000000u, 4096}, {9, -8192, 4, -4096},
};

}  // namespace

TEST(HistoryAgeTest, AgingHalvesEveryCounterAndKeepsTheCounterMoves) {
  auto s = std::make_unique<Searcher>();
  ClearHistoryScores(*s);
  for (size_t i = 0; i < std::size(AGED_COUNTERS); ++i) {
    s->HistoryScores[i % 2][i * 100] = AGED_COUNTERS[i].history;
    s->BoundedHistory[i % 2][i * 100] = AGED_COUNTERS[i].bounded;
  }
  s->CounterMoves[3][17] = 0x1234;
  s->ContinuationHistory[5][20][100] = -7;
  AgeHistoryScores(*s);
  for (size_t i = 0; i < std::size(AGED_COUNTERS); ++i) {
    EXPECT_EQ(s->HistoryScores[i % 2][i * 100], AGED_COUNTERS[i].historyAfter) << i;
    EXPECT_EQ(s->BoundedHistory[i % 2][i * 100], AGED_COUNTERS[i].boundedAfter) << i;
  }
  EXPECT_EQ(s->CounterMoves[3][17], 0x1234);
  EXPECT_EQ(s->ContinuationHistory[5][20][100], -3);

  ClearHistoryScores(*s);
  EXPECT_EQ(s->ContinuationHistory[5][20][100], 0);
  EXPECT_EQ(s->HistoryScores[0][400], 0u);
  EXPECT_EQ(s->BoundedHistory[1][500], 0);
  EXPECT_EQ(s->CounterMoves[3][17], 0);
}
