// Loading positions from FEN and EPD text: what is read, what is refused, and
// that a refused text leaves everything as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "board/load_position.h"
#include "board/zobrist.h"
#include "board_probe.h"

namespace {

constexpr const char* INITIAL = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

class LoadPositionTest : public BoardTest {};

u64 PieceKeys() {
  u64 key = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    if (Board[s] != EMPTY) key ^= ZobristKeys[Board[s]][s];
  }
  return key;
}

TEST_F(LoadPositionTest, InitialPosition) {
  Load(INITIAL);
  EXPECT_EQ(SideToMove, u32{WHITE});
  EXPECT_EQ(TotalMaterial, 78);
  EXPECT_EQ(PieceMaterial[WHITE], 31);
  EXPECT_EQ(PieceMaterial[BLACK], 31);
  EXPECT_EQ(PawnCount[WHITE], 8);
  EXPECT_EQ(PawnCount[BLACK], 8);
  EXPECT_EQ(CastleRights, 27);
  EXPECT_EQ(BlackKingSquare, E8);
  EXPECT_EQ(WhiteKingSquare, E1);
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(Board[A8], BLACK_ROOK);
  EXPECT_EQ(Board[E1], WHITE_KING);
  EXPECT_EQ(Board[D2], WHITE_PAWN);
  EXPECT_EQ(InvariantViolations(), "");
  EXPECT_EQ(HashKey, PieceKeys());
  KeyRule rule;
  rule.Loaded();
  EXPECT_EQ(PawnHashKey, rule.ExpectedPawnHashKey());
  EXPECT_EQ(HistoryTop, History);
  EXPECT_EQ(History[0].key, HashKey);
  EXPECT_EQ(History[0].fifty, 0);
  EXPECT_EQ(0, std::memcmp(GameBoard, Board, sizeof Board));
  EXPECT_EQ(GameCastleRights, CastleRights);
  EXPECT_EQ(GameWhiteKingSquare, E1);
  EXPECT_EQ(GameBlackKingSquare, E8);
  EXPECT_EQ(GameSideToMove, u32{WHITE});
  EXPECT_EQ(GameMoveCount, 1);
}

TEST_F(LoadPositionTest, BlackToMoveAndMoveNumbersIgnored) {
  Load("8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51");
  EXPECT_EQ(SideToMove, u32{BLACK});
  EXPECT_EQ(GameSideToMove, u32{BLACK});
  EXPECT_EQ(CastleRights, 0);
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(TotalMaterial, 16);
  EXPECT_EQ(PieceMaterial[WHITE], 14);
  EXPECT_EQ(PieceMaterial[BLACK], 0);
  EXPECT_EQ(Board[F6], WHITE_QUEEN);
  EXPECT_EQ(BlackKingSquare, H5);
  EXPECT_EQ(InvariantViolations(), "");
}

TEST_F(LoadPositionTest, EnPassantSquareIsReadWithoutAKey) {
  Load("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  EXPECT_EQ(EnPassantSquare, 44);
  EXPECT_EQ(HashKey, PieceKeys());
  EXPECT_EQ(GameEnPassantSquare, 44);
}

TEST_F(LoadPositionTest, PlacementAlphabet) {
  EXPECT_FALSE(LoadPosition("rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"));
  EXPECT_FALSE(LoadPosition("rnbqkbnr/pppppppp/08/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"));
  EXPECT_FALSE(LoadPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq -"));
  EXPECT_FALSE(LoadPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKB.R w KQkq -"));
  // Ranks need no separators: 64 squares are 64 squares.
  Load("rnbqkbnrpppppppp8888PPPPPPPPRNBQKBNR w KQkq -");
  u64 joined = HashKey;
  Load(INITIAL);
  EXPECT_EQ(HashKey, joined);
  // Side-to-move letters of either case, and leading blanks.
  Load("  \t4k3/8/8/8/8/8/8/4K3 B - -");
  EXPECT_EQ(SideToMove, u32{BLACK});
}

TEST_F(LoadPositionTest, ImpossibleCastlingRightsAreDropped) {
  Load("r3k3/8/8/8/8/8/8/4K2R w KQkq -");
  EXPECT_EQ(CastleRights, CASTLE_WHITE_SHORT | CASTLE_BLACK_LONG);
  Load("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -");
  EXPECT_EQ(CastleRights, 27);
  Load("r3k2r/8/8/8/8/8/8/R2K3R w KQkq -");  // white king off e1
  EXPECT_EQ(CastleRights, CASTLE_BLACK_ANY);
  Load("r3k2r/8/8/8/8/8/8/R3K2R w Kk -");
  EXPECT_EQ(CastleRights, CASTLE_WHITE_SHORT | CASTLE_BLACK_SHORT);
}

TEST_F(LoadPositionTest, OnlyAPossibleEnPassantSquareIsKept) {
  const char* placement = "4k3/8/8/3Pp3/8/8/8/4K3 w - ";
  auto loadWithEp = [&](const char* ep) {
    Load((std::string(placement) + ep).c_str());
    return EnPassantSquare;
  };
  EXPECT_EQ(loadWithEp("e6"), E6);
  EXPECT_EQ(loadWithEp("d6"), 0);   // no black pawn in front of it
  EXPECT_EQ(loadWithEp("e3"), 0);   // white to move: only rank 6
  EXPECT_EQ(loadWithEp("e9"), 0);
  EXPECT_EQ(loadWithEp("z6"), 0);
  EXPECT_EQ(loadWithEp("e"), 0);
  EXPECT_EQ(loadWithEp(""), 0);
  Load("4k3/4n3/8/3Pp3/8/8/8/4K3 w - e6");  // the pawn cannot have come from e7
  EXPECT_EQ(EnPassantSquare, 0);
  Load("4k3/8/8/8/3Pp3/8/8/4K3 b - d3");
  EXPECT_EQ(EnPassantSquare, D3);
}

TEST_F(LoadPositionTest, ShortTextsEndWhereTheyEnd) {
  // Every field after the side to move may be missing; nothing past the end is read.
  Load("4k3/8/8/8/8/8/8/4K2R w");
  EXPECT_EQ(CastleRights, 0);
  Load("4k3/8/8/8/8/8/8/4K2R w K");
  EXPECT_EQ(CastleRights, CASTLE_WHITE_SHORT);
  Load("4k3/8/8/8/8/8/8/4K2R w -\n");
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_FALSE(LoadPosition(""));
  EXPECT_FALSE(LoadPosition("\n"));
  EXPECT_FALSE(LoadPosition("4k3/8/8/8/8/8/8/4K2R"));
  EXPECT_FALSE(LoadPosition("4k3/8/8/8/8/8/8/4K2R x"));
  EXPECT_FALSE(LoadPosition("4k3/8/8/8/8/8/8/4K2 w -"));
}

// Positions no game can reach: each is refused, and what was loaded before stays.
TEST_F(LoadPositionTest, RefusedPositionsLeaveEverythingAsItWas) {
  const char* refused[] = {
      "8/8/8/8/8/8/8/8 w - -",                                    // no kings
      "4k3/8/8/8/8/8/8/8 w - -",                                  // no white king
      "4k3/8/8/8/8/8/8/3KK3 w - -",                               // two white kings
      "4k2k/8/8/8/8/8/8/4K3 w - -",                               // two black kings
      "4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - -",                        // nine white pawns
      "4k3/pppppppp/p7/8/8/8/8/4K3 b - -",                        // nine black pawns
      "P3k3/8/8/8/8/8/8/4K3 w - -",                               // pawn on rank 8
      "4k3/8/8/8/8/8/8/p3K3 w - -",                               // pawn on rank 1
      "4k3/8/8/8/8/8/8/4K2p b - -",                               // pawn on rank 1
      "QQQQQQQQ/QQQQQQQQ/QQ6/8/8/8/8/k1K5 b - -",                 // eighteen white queens
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNQ w - -",        // a queen no pawn became
      "4k3/8/8/8/8/8/8/4K2R w - -",                               // fine: control below
  };
  Load(INITIAL);
  UndoRecords[7].killer1 = 0x1234;
  PositionState before = CaptureState();
  for (size_t i = 0; i + 1 < std::size(refused); ++i) {
    EXPECT_FALSE(LoadPosition(refused[i])) << refused[i];
    EXPECT_EQ(Differences(before, CaptureState()), "") << refused[i];
  }
  EXPECT_EQ(UndoRecords[7].killer1, 0x1234);
  EXPECT_TRUE(LoadPosition(refused[std::size(refused) - 1]));
  EXPECT_EQ(UndoRecords[7].killer1, 0);
}

TEST_F(LoadPositionTest, SideNotToMoveMayNotBeInCheck) {
  Load("4k3/8/8/8/8/8/8/4K3 w - -");
  PositionState before = CaptureState();
  EXPECT_FALSE(LoadPosition("4k3/8/8/8/8/8/8/4R1K1 w - -"));   // black king attacked by the rook
  EXPECT_FALSE(LoadPosition("4k3/8/3N4/8/8/8/8/6K1 w - -"));   // by a knight
  EXPECT_FALSE(LoadPosition("4k3/3P4/8/8/8/8/8/6K1 w - -"));   // by a pawn
  EXPECT_FALSE(LoadPosition("4k3/8/8/8/Q7/8/8/6K1 w - -"));    // by a queen on the diagonal
  EXPECT_FALSE(LoadPosition("8/8/8/8/8/3k4/3K4/8 w - -"));     // kings side by side
  EXPECT_FALSE(LoadPosition("8/8/8/8/8/3k4/3K4/8 b - -"));
  EXPECT_EQ(Differences(before, CaptureState()), "");
  Load("4k3/8/8/8/8/8/8/4R1K1 b - -");  // the side to move may be in check
  Load("4k3/4p3/8/8/8/8/8/4R1K1 w - -");  // a blocked line gives no check
}

TEST_F(LoadPositionTest, MostMaterialAGameCanReachFitsTheCounters) {
  // Every pawn promoted to a queen on both sides: 9 queens, 2 rooks, bishops, knights each.
  Load("qqqqqqqq/qrrbbnnk/8/8/8/8/QRRBBNNK/QQQQQQQQ w - -");
  EXPECT_EQ(TotalMaterial, 206);
  EXPECT_EQ(PieceMaterial[WHITE], 103);
  EXPECT_EQ(InvariantViolations(), "");
}

TEST_F(LoadPositionTest, LoadStartsANewHistoryAndGame) {
  Load(INITIAL);
  HistoryTop = History + 40;
  for (HistoryEntry* e = History; e <= HistoryTop; ++e) *e = {0x55, 0x66, 7};
  GameMoveCount = 40;
  UndoRecords[135].killer2 = 0x77;
  Load("4k3/8/8/8/8/8/8/4K3 b - -");
  EXPECT_EQ(HistoryTop, History);
  EXPECT_EQ(History[0].key, HashKey);
  EXPECT_EQ(History[0].move, 0);
  EXPECT_EQ(History[0].fifty, 0);
  EXPECT_EQ(History[40].key, 0u);
  EXPECT_EQ(GameMoveCount, 1);
  EXPECT_EQ(UndoRecords[135].killer2, 0);
}

TEST_F(LoadPositionTest, EpdOperations) {
  auto find = [](const char* rest) { return FindEpdOperation(rest); };
  EpdOperation best = find(" bm Qg6;");
  EXPECT_EQ(best.kind, EpdOperationKind::BestMove);
  EXPECT_STREQ(best.moveText, "Qg6");
  EXPECT_EQ(find(" bm Qg6").kind, EpdOperationKind::None);      // runs to the end of the line
  EXPECT_EQ(find(" bm Qg6\n").kind, EpdOperationKind::None);
  EpdOperation avoid = find(" am Nf3 Nc3;");
  EXPECT_EQ(avoid.kind, EpdOperationKind::AvoidMove);
  EXPECT_STREQ(avoid.moveText, "Nf3");
  EXPECT_EQ(find(" acd 10; bm e4;").kind, EpdOperationKind::None);  // the first a/b decides
  EXPECT_STREQ(find(" bm Zz9;").moveText, "Zz9");
  EXPECT_EQ(find(" 0 1").kind, EpdOperationKind::None);
  EXPECT_EQ(find("").kind, EpdOperationKind::None);
  EXPECT_EQ(find(" bm ").kind, EpdOperationKind::None);
  EXPECT_STREQ(find(" bm Nbxd2+!?; id x;").moveText, "Nbxd2+!?");
  EXPECT_EQ(find(" bm Nbxd2+!???;").kind, EpdOperationKind::None);  // ten characters
}

}  // namespace
