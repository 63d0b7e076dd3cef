// Helpers of the board tests: the board walked square by square, the variables
// derived from Board recomputed, and lines of moves made with every key checked.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "board/attacks.h"
#include "board/position.h"

// Builds the tables once for every test of the fixture.
class BoardTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
};

// Steps on the board as (file, row) offsets; rows count down from rank 8.
using Steps = std::vector<std::pair<int, int>>;
inline const Steps STRAIGHT = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}}, DIAGONAL = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// The squares reached from square by each step once, or (slide) repeated up to
// the edge or the first occupied square.
u64 Walk(int square, const Steps& steps, bool slide, u64 occupied = 0);

// What disagrees between Board and the variables derived from it; empty when all agree.
std::string InvariantViolations();

void Load(const char* text);  // fails the test when the text is refused
std::string PositionText();   // WritePositionText

// Moves made and taken back on the global position, from a position loaded
// first. After each make the derived variables and both keys are checked: the
// key is the pieces' keys, the en-passant key when a double step made the
// square, and the key of each right lost since the load, unless castling spent it.
class CheckedLine {
 public:
  explicit CheckedLine(const char* position);
  void Make(Move move);
  void Unmake();
  bool Empty() const { return records_.empty(); }

 private:
  std::pair<u64, u32> ExpectedKeys() const;
  u16 rightsAtLoad_;
  std::vector<std::pair<Move, UndoRecord>> records_;
  std::vector<u16> spentByCastling_;
};
