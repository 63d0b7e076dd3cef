#include "search/search_state.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchState, ClearingHistoryScoresEmptiesBothSides) {
  HistoryScores[WHITE][0] = 5;
  HistoryScores[BLACK][MakeMoveCode(H1, H8, KIND_QUIET) & HISTORY_MOVE_MASK] = 9;
  HistoryScores[BLACK][HISTORY_MOVE_SLOTS - 1] = 1;
  ClearHistoryScores();
  for (int side : {BLACK, WHITE}) {
    for (int slot = 0; slot < HISTORY_MOVE_SLOTS; ++slot) ASSERT_EQ(HistoryScores[side][slot], 0u);
  }
}

}  // namespace
