// The check test made before a move, against making each move and looking at the enemy king.
#include "board/gives_check.h"
#include "board_probe.h"
#include "support/test_data.h"

namespace {

struct CheckCounts {
  int checking = 0, missed = 0, quietOrCapture = 0, falseAlarms = 0;
};

bool EnemyInCheckAfter(Position& pos, Move move) {
  bool check = false;
  WithMoveMade(pos, move, [&] {
    UndoRecord record{};
    FindCheckers(pos, record);
    check = record.checkers != 0;
  });
  return check;
}

void CountBelow(Position& pos, int depth, CheckCounts& counts) {
  for (Move move : LegalMoves(pos)) {
    const bool gives = EnemyInCheckAfter(pos, move), may = MayGiveCheck(pos, move);
    counts.checking += gives;
    counts.missed += gives && !may;
    if (!gives && (MoveKind(move) == KIND_QUIET || MoveKind(move) == KIND_CAPTURE)) {
      ++counts.quietOrCapture;
      counts.falseAlarms += may;
    }
    if (depth > 1) WithMoveMade(pos, move, [&] { CountBelow(pos, depth - 1, counts); });
  }
}

}  // namespace

// No check is missed, and among quiet moves and captures few that do not check are taken for checks (only those
// moving along the line they uncover).
TEST_F(BoardTest, MayGiveCheckMissesNoCheck) {
  Position pos;
  CheckCounts counts;
  for (const KnownCounts& position : ReadPerftFile()) {
    Load(pos, position.fen);
    CountBelow(pos, 3, counts);
  }
  EXPECT_GT(counts.checking, 1000);
  EXPECT_EQ(counts.missed, 0);
  EXPECT_LT(counts.falseAlarms * 100, counts.quietOrCapture);
}

// Positions where the rule has to look past the obvious: a check through the square the piece leaves, a line blocked
// by another piece, a discovery by a king, a pawn's diagonal.
TEST_F(BoardTest, MayGiveCheckOnLinesAndLeaps) {
  Position pos;
  const struct { const char* fen; const char* move; bool may; } cases[] = {
      {"4k3/8/8/8/8/8/8/R3K3 w - -", "a1a8", true},
      {"4k3/8/8/8/8/8/4N3/4R1K1 w - -", "e2c3", true},  // discovered along the file
      {"4k3/8/8/8/4p3/8/4N3/4R1K1 w - -", "e2c3", false},  // the pawn still shields the king
      {"4k3/8/8/8/8/8/8/B3K3 w - -", "a1b2", false},
      {"7k/8/8/8/3K4/8/8/B7 w - -", "d4d3", true},  // the king uncovers the bishop
      {"4k3/8/8/8/8/8/3P4/4K3 w - -", "d2d4", false},
      {"4k3/8/3P4/8/8/8/8/4K3 w - -", "d6d7", true},
      {"4k3/8/8/8/8/8/8/4K1N1 w - -", "g1f3", false},
      {"4k3/8/8/8/8/8/8/4K1N1 w - -", "g1e2", false},
      {"4k3/8/8/8/6N1/8/8/4K3 w - -", "g4f6", true},
      {"8/8/8/8/8/k7/8/3QK3 w - -", "d1d6", true},
      {"8/8/8/8/8/k7/8/3QK3 w - -", "d1h5", false},
  };
  for (const auto& test : cases) {
    Load(pos, test.fen);
    const Move move = LegalMoveNamed(pos, test.move);
    ASSERT_NE(move, NO_MOVE) << test.fen << " " << test.move;
    EXPECT_EQ(MayGiveCheck(pos, move), test.may) << test.fen << " " << test.move;
  }
}
