#include "search/null_move.h"

#include <gtest/gtest.h>

#include "line_player.h"
#include "search/draw.h"
#include "whole_position.h"

namespace {

constexpr char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
constexpr char AFTER_E4_WHITE_TO_MOVE[] = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";
constexpr char AFTER_E4_LOADED[] = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";

class NullMoveTest : public testing::Test {
 protected:
  LinePlayer line_;
  UndoRecord record_{};
  UndoRecord secondRecord_{};
};

TEST_F(NullMoveTest, PassingAfterADoubleStepReachesTheKeysOfThePositionWithoutIt) {
  LinePlayer::Load(AFTER_E4_WHITE_TO_MOVE);  // a loaded key holds the pieces alone
  const u64 piecesKey = HashKey;
  const u32 pawnsKey = PawnHashKey;

  LinePlayer::Load(START_FEN);
  line_.Play(E2, E4);
  EXPECT_NE(HashKey, piecesKey);
  const WholePosition before = WholePosition::Take();
  MakeNullMove(record_);
  EXPECT_EQ(HashKey, piecesKey);
  EXPECT_EQ(PawnHashKey, pawnsKey);
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(SideToMove, static_cast<u32>(WHITE));
  EXPECT_EQ(CastleRights, before.castleRights);
  // The pass is in the history like a move: its marker below, a new entry on top.
  EXPECT_EQ(History[1].move, MOVE_NULL);
  EXPECT_EQ(HistoryTop, History + 2);
  EXPECT_EQ(HistoryTop->key, HashKey);
  EXPECT_EQ(HistoryTop->fifty, 1);

  UnmakeNullMove(record_);
  EXPECT_EQ(WholePosition::Take(), before);
}

TEST_F(NullMoveTest, AnEnPassantSquareReadWithThePositionHasNoKeyToTakeAway) {
  LinePlayer::Load(AFTER_E4_LOADED);
  const WholePosition before = WholePosition::Take();
  MakeNullMove(record_);
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(HashKey, before.keys[0]);
  EXPECT_EQ(PawnHashKey, before.keys[1]);
  UnmakeNullMove(record_);
  EXPECT_EQ(WholePosition::Take(), before);
}

TEST_F(NullMoveTest, MovesMadeAfterAPassUnwindToTheSamePosition) {
  LinePlayer::Load(START_FEN);
  line_.Play(E2, E4);
  const WholePosition before = WholePosition::Take();
  MakeNullMove(record_);
  line_.Play(D2, D4);
  line_.Play(G8, F6);
  MakeNullMove(secondRecord_);
  line_.Play(E4, E5);
  line_.TakeBack();
  UnmakeNullMove(secondRecord_);
  line_.TakeBack();
  line_.TakeBack();
  UnmakeNullMove(record_);
  EXPECT_EQ(WholePosition::Take(), before);
}

TEST_F(NullMoveTest, PassesCountTowardsRepetitionAndTheFiftyMoveRule) {
  LinePlayer::Load(START_FEN);
  line_.Play(G1, F3);
  MakeNullMove(record_);
  line_.Play(F3, G1);
  MakeNullMove(secondRecord_);
  EXPECT_EQ(HistoryTop->fifty, 4);
  EXPECT_EQ(DrawCheck(1), GAME_REPETITION);  // the start again, white to move
  UnmakeNullMove(secondRecord_);

  HistoryTop->fifty = 99;
  EXPECT_NE(DrawCheck(1), GAME_FIFTY_MOVES);
  MakeNullMove(secondRecord_);
  EXPECT_EQ(DrawCheck(1), GAME_FIFTY_MOVES);
  UnmakeNullMove(secondRecord_);
}

}  // namespace
