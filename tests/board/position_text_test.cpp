// Position text out: FEN written back after loads and moves, and the diagram.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/load_position.h"
#include "board/make_move.h"
#include "board/position_text.h"
#include "board_probe.h"

namespace {

class PositionTextTest : public BoardTest {};

std::string PositionText() {
  char text[POSITION_TEXT_SIZE];
  char* end = WritePositionText(text);
  EXPECT_EQ(end, text + std::strlen(text));
  return text;
}

TEST_F(PositionTextTest, LoadedTextComesBackUnchanged) {
  const char* texts[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "8/8/5Q2/2R4k/8/8/P5P1/6K1 b - -",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
      "r3k2r/8/8/8/8/8/8/R3K2R b Kq -",
      "1k6/8/8/8/8/8/8/6K1 w - -",
      "qqqqqqqq/qrrbbnnk/8/8/8/8/QRRBBNNK/QQQQQQQQ w - -",
  };
  for (const char* text : texts) {
    Load(text);
    EXPECT_EQ(PositionText(), text);
  }
}

TEST_F(PositionTextTest, WhatIsReadAsAbsentIsNotWritten) {
  Load("4k3/8/8/8/8/8/8/4K3 w KQkq e6 12 40");
  EXPECT_EQ(PositionText(), "4k3/8/8/8/8/8/8/4K3 w - -");
}

TEST_F(PositionTextTest, TextAfterAMove) {
  Load("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  UndoRecord record{};
  SavePositionForUndo(record);
  MakeMove(MakeMoveCode(E2, E4, KIND_QUIET), record);
  EXPECT_EQ(PositionText(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
}

TEST_F(PositionTextTest, BoardDiagram) {
  Load("8/8/5Q2/2R4k/8/8/P5P1/6K1 b - -");
  testing::internal::CaptureStdout();
  PrintBoard(Board);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n8 . . . . . . . . "
            "\n7 . . . . . . . . "
            "\n6 . . . . . Q . . "
            "\n5 . . R . . . . k "
            "\n4 . . . . . . . . "
            "\n3 . . . . . . . . "
            "\n2 P . . . . . P . "
            "\n1 . . . . . . K . "
            "\n\n  A B C D E F G H\n");
}

}  // namespace
