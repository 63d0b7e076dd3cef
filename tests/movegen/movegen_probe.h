// Helpers of the move generation tests: loading positions, running a generator
// as the search would, writing lists as text, and colour-mirrored positions.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/position.h"
#include "movegen/move_stack.h"

// Builds the start-up tables once for every test of the fixture.
class MovegenTest : public testing::Test {
 protected:
  static void SetUpTestSuite();
};

// Loads text and fails the current test if the load is refused.
void Load(const std::string& text);

enum class Generator { All, Captures, Evasions };

// The list the generator writes for the side to move, from the bottom of the
// move stack; the record FindCheckers fills is the first undo record.
std::vector<MoveEntry> Generate(Generator generator);

// What the calling protocol picks: evasions in check, all moves otherwise.
std::vector<MoveEntry> GenerateForPosition();

// The entries of the list that do not leave the mover's king attacked.
std::vector<MoveEntry> LegalEntries(const std::vector<MoveEntry>& list);

// The square-table entry the exchange evaluator reads for a piece on a square
// at the present material.
int Psq(int piece, int square);

// Coordinate text of a move ("e2e4", "e7e8q"), written here independently.
std::string Text(Move move);

// "g1h3 g1f3 ..." (moves only) and "g1h3:-30000 ..." (with scores).
std::string Moves(const std::vector<MoveEntry>& list);
std::string MovesAndScores(const std::vector<MoveEntry>& list);

// The same position with colours exchanged and the board turned upside down:
// every piece changes colour and moves from rank r to rank 9 - r.
std::string MirroredFen(const std::string& fen);

// The move the colour-mirrored piece makes in the mirrored position.
Move MirroredMove(Move move);
