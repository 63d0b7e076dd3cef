// Move validity and legality against the known move-tree counts: every move
// code of the position is tried, the legal ones are counted, made and taken
// back. Wrong counts mean a fault in IsMoveValid, the check tests, or make and
// unmake; at every node the checkers are also compared with a board walk.
#include <gtest/gtest.h>

#include <vector>

#include "board/castling.h"
#include "board/check.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "board/move_validity.h"
#include "board_probe.h"

namespace {

class LegalMovesTest : public BoardTest {};

// The enemy pieces attacking square, found by stepping over the board.
u64 WalkedAttackers(int square, int enemy) {
  struct Step {
    int file, row;
  };
  const Step straight[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  const Step diagonal[] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
  const Step knight[] = {{1, 2}, {2, 1}, {-1, 2}, {-2, 1}, {1, -2}, {2, -1}, {-1, -2}, {-2, -1}};
  auto at = [&](int file, int row) { return file >= 0 && file < 8 && row >= 0 && row < 8 ? 8 * row + file : -1; };
  int f = FileOf(square), r = RowOf(square);
  u64 found = 0;
  auto slide = [&](const Step(&steps)[4], int kind) {
    for (Step step : steps) {
      for (int s = at(f + step.file, r + step.row), n = 2; s >= 0; s = at(f + n * step.file, r + n * step.row), ++n) {
        if (Board[s] == EMPTY) continue;
        if (Board[s] == PieceCode(kind, enemy) || Board[s] == PieceCode(QUEEN, enemy)) found |= SquareBit(s);
        break;
      }
    }
  };
  slide(straight, ROOK);
  slide(diagonal, BISHOP);
  for (Step step : knight) {
    int s = at(f + step.file, r + step.row);
    if (s >= 0 && Board[s] == PieceCode(KNIGHT, enemy)) found |= SquareBit(s);
  }
  int pawnRow = enemy == WHITE ? r + 1 : r - 1;  // an enemy pawn attacks from one row behind
  for (int df : {-1, 1}) {
    int s = at(f + df, pawnRow);
    if (s >= 0 && Board[s] == PieceCode(PAWN, enemy)) found |= SquareBit(s);
  }
  return found;
}

std::vector<Move> LegalMovesByTrial() {
  std::vector<Move> moves;
  int side = static_cast<int>(SideToMove);
  for (int from = 0; from < SQUARE_COUNT; ++from) {
    int piece = Board[from];
    if (piece == EMPTY || (piece & 1) != side) continue;
    for (int to = 0; to < SQUARE_COUNT; ++to) {
      for (int kind = KIND_QUIET; kind <= KIND_CAPTURE_PROMOTE_BISHOP; ++kind) {
        Move move = MakeMoveCode(from, to, kind);
        if (kind != KIND_NOT_A_MOVE && IsLegalMove(move)) moves.push_back(move);
      }
    }
  }
  for (const CastlingMove& castling : Castlings) {
    if (IsLegalMove(castling.move)) moves.push_back(castling.move);
  }
  return moves;
}

u64 Perft(int depth) {
  UndoRecord record{};
  FindCheckers(record);
  EXPECT_EQ(record.checkers, WalkedAttackers(KingSquare[SideToMove], SideToMove ^ 1));
  EXPECT_EQ(InvariantViolations(), "");
  std::vector<Move> moves = LegalMovesByTrial();
  if (depth == 1) return moves.size();
  u64 leaves = 0;
  for (Move move : moves) {
    SavePositionForUndo(record);
    MakeMove(move, record);
    leaves += Perft(depth - 1);
    UnmakeMove(move, record);
  }
  return leaves;
}

// Positions with leaf counts checked by two independent generators.
struct PerftLine {
  const char* position;
  std::vector<u64> counts;  // leaves at depth 1, 2, ...
};

const PerftLine PERFT_LINES[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", {20, 400, 8902}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", {48, 2039, 97862}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", {14, 191, 2812, 43238}},
    {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -", {27, 835, 24079}},
    {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", {31, 707, 21637}},
    {"4k3/8/8/8/8/8/8/4K2R w K -", {15, 66, 1197, 7059}},
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", {26, 568, 13744}},
    {"8/1n4N1/2k5/8/8/5K2/1N4n1/8 b - -", {15, 193, 2816, 40039}},
};

// Deep enough to meet castling, en passant, promotions and checks in every position.
TEST_F(LegalMovesTest, CountsOfTheMoveTreeMatchTheKnownOnes) {
  for (const PerftLine& line : PERFT_LINES) {
    Load(line.position);
    PositionState before = CaptureState();
    for (size_t depth = 1; depth <= line.counts.size(); ++depth) {
      EXPECT_EQ(Perft(static_cast<int>(depth)), line.counts[depth - 1]) << line.position << " depth " << depth;
    }
    EXPECT_EQ(Differences(before, CaptureState()), "");
  }
}

// The castling conditions looked at after the castling move is made.
TEST_F(LegalMovesTest, CastlingPath) {
  auto castleIsLegal = [](const char* position, Move castling) {
    Load(position);
    return IsLegalMove(castling);
  };
  EXPECT_FALSE(castleIsLegal("4k3/8/8/8/8/8/6b1/4K2R w K -", WHITE_SHORT_CASTLE));    // f1 attacked
  EXPECT_FALSE(castleIsLegal("4k3/8/8/8/8/7n/8/4K2R w K -", WHITE_SHORT_CASTLE));     // g1 attacked
  EXPECT_FALSE(castleIsLegal("4k3/8/8/8/8/8/8/R3K2r w Q -", WHITE_LONG_CASTLE));      // out of check
  EXPECT_TRUE(castleIsLegal("1r2k3/8/8/8/8/8/8/R3K3 w Q -", WHITE_LONG_CASTLE));      // b1 may be attacked
  EXPECT_FALSE(castleIsLegal("r3k3/8/8/8/8/8/8/3RK3 b q -", BLACK_LONG_CASTLE));      // d8 attacked
  EXPECT_TRUE(castleIsLegal("r3k2r/8/8/8/8/8/8/1R2K3 b kq -", BLACK_LONG_CASTLE));    // b8 may be attacked
  // Straight after the castling move, the tests themselves.
  Load("4k3/8/8/8/8/8/6b1/4K2R w K -");
  UndoRecord record{};
  SavePositionForUndo(record);
  MakeMove(WHITE_SHORT_CASTLE, record);
  EXPECT_TRUE(WhiteCastlePathAttacked(WHITE_SHORT_CASTLE));
  EXPECT_TRUE(KingLeftInCheck(WHITE_SHORT_CASTLE, WHITE));
  UnmakeMove(WHITE_SHORT_CASTLE, record);
  // The enemy king beside the path: only its square is read, so it is moved by hand.
  Load("r3k2r/8/8/8/8/8/8/2K5 b kq -");
  SavePositionForUndo(record);
  MakeMove(BLACK_LONG_CASTLE, record);
  EXPECT_FALSE(BlackCastlePathAttacked(BLACK_LONG_CASTLE));
  WhiteKingSquare = C7;
  EXPECT_TRUE(BlackCastlePathAttacked(BLACK_LONG_CASTLE));
  WhiteKingSquare = A7;
  EXPECT_FALSE(BlackCastlePathAttacked(BLACK_LONG_CASTLE));
  WhiteKingSquare = H7;
  EXPECT_TRUE(BlackCastlePathAttacked(BLACK_SHORT_CASTLE));
  WhiteKingSquare = C1;
  UnmakeMove(BLACK_LONG_CASTLE, record);
}

TEST_F(LegalMovesTest, KingsMayNotMeet) {
  Load("8/8/8/8/3k4/8/4K3/8 w - -");
  EXPECT_FALSE(IsLegalMove(MakeMoveCode(E2, E3, KIND_QUIET)));
  EXPECT_TRUE(IsLegalMove(MakeMoveCode(E2, E1, KIND_QUIET)));
}

}  // namespace
