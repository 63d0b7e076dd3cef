// Positions for the evaluation tests, and their colour-flipped twins.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/load_position.h"

// Builds the start-up tables once and loads each position the tests give.
class EvalTest : public testing::Test {
 public:
  static void SetUpTestSuite();
  // Loads the FEN text (placement, side, castling, en passant) or fails the test.
  static void Load(const std::string& fen);
};

// The same position with the colours exchanged: ranks mirrored (rank n
// becomes rank 9 - n), pieces changing colour, the other side to move.
std::string ColourFlipped(const std::string& fen);

// The same position turned by 180 degrees with the colours exchanged (a1
// becomes h8, a white piece a black one), the other side to move.
std::string TurnedAndFlipped(const std::string& fen);
