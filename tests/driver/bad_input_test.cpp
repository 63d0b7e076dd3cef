// Input that once broke the engine, replayed over pipes: each run must end
// cleanly, refuse what it cannot do with a message, and keep the board.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/engine_process.h"

// The "FEN: " lines that "d" printed, in order.
static std::vector<std::string> ShownPositions(const std::string& output) {
  std::vector<std::string> positions;
  const std::string label = "FEN: ";
  for (size_t at = output.find(label); at != std::string::npos; at = output.find(label, at + 1)) {
    positions.push_back(output.substr(at + label.size(), output.find('\n', at) - at - label.size()));
  }
  return positions;
}

static bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(BadInput, ASideSwitchThatExposesAKingIsRefused) {
  // Black to move with the black king in check from the rook: white to move
  // could take the king.
  EngineRun run = RunEngine("test\nwhite\nd\ngo\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Contains(run.output, "tellusererror Illegal position\n")) << run.output;
  EXPECT_TRUE(Contains(run.log, "-M: tellusererror Illegal position\n"));
  EXPECT_EQ(ShownPositions(run.output), std::vector<std::string>{"8/8/5Q2/2R4k/8/8/P5P1/6K1 b - -"});
  EXPECT_TRUE(Contains(run.output, "\nmove h5g4\n")) << run.output;  // black's only move
}

TEST(BadInput, ASideSwitchDropsTheEnPassantSquare) {
  // After e2e4 the skipped square e3 would let d2 "take en passant" its own pawn.
  EngineRun run = RunEngine("new\nforce\ne2e4\nwhite\nd\nd2e3\nd\nblack\nd\nquit\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Contains(run.output, "Illegal move: d2e3\n")) << run.output;
  const std::string afterSwitch = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";
  EXPECT_EQ(ShownPositions(run.output),
            (std::vector<std::string>{afterSwitch, afterSwitch,
                                      "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -"}));

  // Black's e7e5 skips e6; switched to black, d5 must not take "en passant" on
  // e6, and the search must find only real moves.
  run = RunEngine("new\nforce\nd2d4\na7a6\nd4d5\ne7e5\nblack\nd5e6\nd\ngo\n");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(ShownPositions(run.output),
            std::vector<std::string>{"rnbqkbnr/1ppp1ppp/p7/3Pp3/8/8/PPP1PPPP/RNBQKBNR b KQkq -"});
  EXPECT_TRUE(Contains(run.output, "\nmove ")) << run.output;
}
