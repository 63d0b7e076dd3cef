// Helpers of the board tests: the variables derived from Board recomputed, positions written back.
#pragma once

#include <cstring>

#include "board/board_invariants.h"
#include "board/castling.h"
#include "board/move_validity.h"
#include "board/position.h"
#include "board/position_text.h"
#include "support/move_probe.h"
#include "support/position_snapshot.h"

// Builds the tables once for every test of the fixture.
class BoardTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
};

// The first of the board's invariants that does not hold; empty when all hold.
inline std::string InvariantViolations(Position& pos) {
  const char* fault = BoardInvariantFault(pos);
  return fault ? fault : "";
}

inline std::string PositionText(Position& pos) {
  char text[POSITION_TEXT_SIZE];
  char* end = WritePositionText(pos, text);
  EXPECT_EQ(end, text + std::strlen(text));
  return text;
}
