#include <gtest/gtest.h>

#include "driver/game_move.h"
#include "movegen/move_stack.h"
#include "search/think.h"
#include "search_fixture.h"

namespace {

using DrawTest = SearchTest;

constexpr char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Both knights out and back: the start position once more.
void KnightsOutAndBack() {
  PlayGameMove(MakeMoveCode(G1, F3, KIND_QUIET));
  PlayGameMove(MakeMoveCode(G8, F6, KIND_QUIET));
  PlayGameMove(MakeMoveCode(F3, G1, KIND_QUIET));
  PlayGameMove(MakeMoveCode(F6, G8, KIND_QUIET));
}

TEST_F(DrawTest, AThirdOccurrenceIsAnsweredWithoutSearching) {
  Load(START_FEN);
  KnightsOutAndBack();
  SearchTo(6);  // a second occurrence: searched as usual
  EXPECT_NE(MoveKind(BestMove), KIND_NOT_A_MOVE);
  EXPECT_NE(BestMove, NO_MOVE);

  KnightsOutAndBack();
  MovesMade = 0;
  EXPECT_EQ(SearchTo(6), GAME_REPETITION);
  EXPECT_EQ(BestMove, GAME_REPETITION);
  EXPECT_EQ(BestScore, 0);
  EXPECT_EQ(MovesMade, 0u);
}

TEST_F(DrawTest, TheHundredthHalfMoveWithoutProgressIsAFiftyMoveDraw) {
  Load(START_FEN);
  for (int i = 0; i < 24; ++i) KnightsOutAndBack();
  PlayGameMove(MakeMoveCode(G1, F3, KIND_QUIET));
  PlayGameMove(MakeMoveCode(G8, F6, KIND_QUIET));
  PlayGameMove(MakeMoveCode(F3, G1, KIND_QUIET));
  EXPECT_EQ(SearchTo(4), GAME_REPETITION);  // 99 half-moves
  PlayGameMove(MakeMoveCode(F6, G8, KIND_QUIET));
  EXPECT_EQ(SearchTo(4), GAME_FIFTY_MOVES);  // the hundredth: tested before repetition
  EXPECT_EQ(BestScore, 0);
}

TEST_F(DrawTest, MaterialTooSmallToMateIsADraw) {
  Load("8/8/4k3/8/8/3NK3/8/8 w - -");
  EXPECT_EQ(SearchTo(6), GAME_NO_MATERIAL);
  EXPECT_EQ(BestScore, 0);
}

// Queen against knight: black is lost, unless its knight can go back to
// where it stood twice before.
constexpr char QUEEN_AGAINST_KNIGHT[] = "k7/2n5/8/8/8/8/8/KQ6 w - -";
constexpr char AFTER_THE_SHUFFLE[] = "k7/8/4n3/8/8/8/8/KQ6 b - -";

TEST_F(DrawTest, TheLosingSideTakesARepetitionWhenItCan) {
  Load(AFTER_THE_SHUFFLE);
  SearchTo(5);
  const i16 lost = BestScore;
  EXPECT_LT(lost, -300);

  Load(QUEEN_AGAINST_KNIGHT);
  for (int round = 0; round < 2; ++round) {
    PlayGameMove(MakeMoveCode(A1, A2, KIND_QUIET));
    PlayGameMove(MakeMoveCode(C7, E6, KIND_QUIET));
    PlayGameMove(MakeMoveCode(A2, A1, KIND_QUIET));
    if (round == 0) PlayGameMove(MakeMoveCode(E6, C7, KIND_QUIET));
  }
  SearchTo(5);  // the same position, reached twice before
  EXPECT_EQ(BestScore, 0);
  EXPECT_EQ(BestMove, MakeMoveCode(E6, C7, KIND_QUIET));
}

}  // namespace
