// Searching a loaded position in a test: no time limit, no thinking lines, and
// an input pipe of the test's own, empty until the test writes to it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/types.h"

class SearchTest : public testing::Test {
 public:
  static void Load(const char* fen);

  // Think on the loaded position, to at most depth iterations.
  static Move SearchTo(u32 depth);

 protected:
  void SetUp() override;
  void TearDown() override;

  // Words the command reader (and so the search's input poll) finds waiting.
  void WriteInput(const std::string& text);

 private:
  int input_[2] = {-1, -1};
};

// The text of a move ("e2e4"), for readable expectations.
std::string MoveText(Move move);
