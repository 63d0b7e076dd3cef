// Helpers of the board tests: a copy of every position variable to compare
// after a round trip, the derived variables recomputed from Board alone, and
// the keys recomputed by the Zobrist rule.
#pragma once

#include <gtest/gtest.h>

#include <deque>
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

// Everything make, unmake and the loader may change.
struct PositionState {
  u32 sideToMove;
  std::vector<u8> board;
  std::vector<u64> pieceBB, colourBB;
  u64 occupied, byFile, diagUp, diagDown;
  u8 whiteKing, blackKing;
  u16 castleRights;
  u8 enPassant;
  u8 totalMaterial;
  u8 pieceMaterial[2], pawnCount[2];
  u64 hashKey;
  u32 pawnHashKey;
  long historyTop;
  std::vector<u64> historyKeys;
  std::vector<u16> historyMoves, historyFifty;
  std::vector<u8> gameBoard;
  u32 gameSideToMove;
  u16 gameCastleRights;
  u8 gameEnPassant, gameWhiteKing, gameBlackKing;
  u16 gameMoveCount;
  Move epdBestMove, epdAvoidMove;
};

PositionState CaptureState();

// The names of the variables that differ; empty when the states are equal.
std::string Differences(const PositionState& before, const PositionState& after);

// What disagrees between Board and the variables derived from it (piece and
// colour sets, the four occupancy layouts, king squares, material, pawn counts);
// empty when all agree.
std::string InvariantViolations();

// HashKey and PawnHashKey by the Zobrist rule: the pieces, the en-passant key
// when a double step made the square, and the key of each castling right that
// a move took away since the load, except a right spent by castling itself.
class KeyRule {
 public:
  void Loaded();               // after a load: rights held now are the starting ones
  void BeforeMake(Move move);  // remembers the right a castling spends
  void AfterUnmake();
  u64 ExpectedHashKey() const;
  u32 ExpectedPawnHashKey() const;

 private:
  u16 rightsAtLoad_ = 0;
  std::vector<u16> spentByCastling_;
  bool EnPassantKeyed() const;
};

// Moves made and taken back on the global position; after each make, the
// derived variables and both keys are checked against their rules.
class CheckedLine {
 public:
  void Start(const char* text);  // loads the position
  void Make(Move move);
  void Unmake();
  const UndoRecord& LastRecord() const { return records_.back().second; }
  size_t Length() const { return records_.size(); }

 private:
  KeyRule rule_;
  std::deque<std::pair<Move, UndoRecord>> records_;
};

// Loads text and fails the current test if the load is refused.
void Load(const char* text);

// The squares named, as a bitboard.
u64 Squares(std::initializer_list<int> squares);
