// Check detection on positions worked out by hand.
#include <gtest/gtest.h>

#include "board/check.h"
#include "board_probe.h"

namespace {

class CheckTest : public BoardTest {};

UndoRecord Checkers() {
  UndoRecord record{};
  record.kingRookRay = record.kingBishopRay = 0xdeadbeef;  // to see which fields are written
  FindCheckers(record);
  return record;
}

TEST_F(CheckTest, DoubleCheckByRookAndKnight) {
  Load("4r1k1/8/8/8/8/3n4/8/4K3 w - -");
  UndoRecord record = Checkers();
  EXPECT_EQ(record.checkers, Squares({E8, D3}));
  EXPECT_EQ(record.kingRookRay, Squares({E2, E3, E4, E5, E6, E7, E8, D1, C1, B1, A1, F1, G1, H1}));
  EXPECT_TRUE(KingLeftInCheck(NO_MOVE, WHITE));
}

TEST_F(CheckTest, DiagonalCheckClearsTheRookRay) {
  // The bishop on b4 checks e1; no black rook or queen is on e1's lines.
  Load("4k3/8/8/8/1b6/8/8/4K3 w - -");
  UndoRecord record = Checkers();
  EXPECT_EQ(record.checkers, Squares({B4}));
  EXPECT_EQ(record.kingRookRay, 0u);
  EXPECT_EQ(record.kingBishopRay, Squares({D2, C3, B4, F2, G3, H4}));
}

TEST_F(CheckTest, RaysAreOnlyWrittenWhenASliderIsOnThem) {
  Load("4k3/8/8/8/8/8/3p4/4K3 w - -");
  UndoRecord record = Checkers();
  EXPECT_EQ(record.checkers, Squares({D2}));
  EXPECT_EQ(record.kingRookRay, 0xdeadbeefu);
  EXPECT_EQ(record.kingBishopRay, 0xdeadbeefu);
  // A rook that sees the king's file through a blocker gives no check, but the ray is fresh.
  Load("4k3/8/8/8/4r3/4P3/8/4K3 w - -");
  record = Checkers();
  EXPECT_EQ(record.checkers, 0u);
  EXPECT_EQ(record.kingRookRay, Squares({E2, E3, D1, C1, B1, A1, F1, G1, H1}));
  EXPECT_EQ(record.kingBishopRay, 0xdeadbeefu);
}

TEST_F(CheckTest, TheEnemyKingIsNoAttacker) {
  Load("8/8/8/8/8/3k4/8/3K4 w - -");
  BlackKingSquare = D2;  // kings side by side, as after a king move that the generators never make
  EXPECT_FALSE(KingLeftInCheck(NO_MOVE, WHITE));
  EXPECT_TRUE(KingsTouch());
}

}  // namespace
