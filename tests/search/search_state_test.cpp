#include "search/search_state.h"

#include <gtest/gtest.h>

#include "board/position.h"

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

TEST(SearchState, ClearingKillersTouchesOnlyTheKillersOfEveryPly) {
  for (UndoRecord& record : UndoRecords) {
    record.killer1 = MakeMoveCode(G1, F3, KIND_QUIET);
    record.killer2 = MakeMoveCode(B1, C3, KIND_QUIET);
    record.hashMove = MakeMoveCode(E2, E4, KIND_QUIET);
  }
  ClearKillerMoves();
  for (const UndoRecord& record : UndoRecords) {
    EXPECT_EQ(record.killer1, NO_MOVE);
    EXPECT_EQ(record.killer2, NO_MOVE);
    EXPECT_EQ(record.hashMove, MakeMoveCode(E2, E4, KIND_QUIET));
  }
  for (UndoRecord& record : UndoRecords) record.hashMove = NO_MOVE;
}

}  // namespace
