// Input that once broke the engine, replayed over pipes: each run must end
// cleanly, refuse what it cannot do with a message, and keep the board.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/position_text.h"
#include "driver/command_loop.h"
#include "support/command_feed.h"
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

// A move word is exactly the text of its move: a promotion letter on a move that is no promotion, or anything else
// after the squares, makes it an illegal move that changes nothing. A real promotion is still played.
TEST(BadInput, MoveWordsThatSayMoreThanTheirMoveAreRefused) {
  InitBoardTables();
  const std::string castling = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", promotion = "4k3/P7/8/8/8/8/8/4K3 w - -";
  const std::tuple<std::string, const char*, std::string> cases[] = {  // position, word, position after (empty: same)
      {INITIAL_POSITION, "g1f3q", ""}, {INITIAL_POSITION, "e2e4n", ""}, {INITIAL_POSITION, "e2e4x", ""},
      {INITIAL_POSITION, "g1f3Q", ""}, {INITIAL_POSITION, "g1f3qq", ""}, {castling, "e1g1q", ""},
      {castling, "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq -"}, {promotion, "a7a8Q", ""},
      {promotion, "a7a8q", "Q3k3/8/8/8/8/8/8/4K3 b - -"}, {promotion, "a7a8n", "N3k3/8/8/8/8/8/8/4K3 b - -"},
  };
  for (const auto& [position, word, after] : cases) {
    ASSERT_TRUE(LoadPosition(position.c_str()));
    EngineState = ENGINE_FORCE;
    const std::string output = RunCommandsCapturingOutput(word + std::string("\n"));
    char text[POSITION_TEXT_SIZE];
    WritePositionText(text);
    EXPECT_EQ(std::pair(output, std::string(text)),
              std::pair(after.empty() ? "Illegal move: " + std::string(word) + "\n" : "", after.empty() ? position : after))
        << word;
  }
}
