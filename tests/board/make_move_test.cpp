// Make and unmake: hand-worked effects of each move kind, the keys against the
// Zobrist rule, and round trips that must restore every position variable.
#include <gtest/gtest.h>

#include "board/make_move.h"
#include "board/zobrist.h"
#include "board_probe.h"

namespace {

Move Code(int from, int to, int kind = KIND_QUIET) { return MakeMoveCode(from, to, kind); }
u64 Z(int code, int square) { return ZobristKeys[code][square]; }

class MakeMoveTest : public BoardTest {
 protected:
  void Start(const char* text) { line_.Start(text); }
  void Make(Move move) { line_.Make(move); }
  void Unmake() { line_.Unmake(); }
  const UndoRecord& LastRecord() const { return line_.LastRecord(); }

  // Make followed by unmake must give back exactly the position before.
  void ExpectRoundTrip(const char* text, Move move) {
    Start(text);
    PositionState before = CaptureState();
    Make(move);
    Unmake();
    EXPECT_EQ(Differences(before, CaptureState()), "") << text << " move " << std::hex << move;
  }

  CheckedLine line_;
};

TEST_F(MakeMoveTest, DoubleStepSetsTheEnPassantSquareWithItsKey) {
  Start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  u64 key = HashKey;
  u32 pawnKey = PawnHashKey;
  Make(Code(E2, E4));
  EXPECT_EQ(EnPassantSquare, E3);
  EXPECT_EQ(HashKey, key ^ Z(WHITE_PAWN, E2) ^ Z(WHITE_PAWN, E4) ^ Z(0, E3));
  EXPECT_EQ(PawnHashKey, pawnKey ^ static_cast<u32>(Z(WHITE_PAWN, E2) ^ Z(WHITE_PAWN, E4) ^ Z(0, E3)));
  EXPECT_EQ(SideToMove, u32{BLACK});
  EXPECT_EQ(HistoryTop, History + 1);
  EXPECT_EQ(History[0].move, Code(E2, E4));
  EXPECT_EQ(HistoryTop->fifty, 0);
  EXPECT_EQ(HistoryTop->key, HashKey);
  // The next move, whatever it is, takes the key out first.
  u64 afterPush = HashKey;
  Make(Code(G8, F6));
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(HashKey, afterPush ^ Z(0, E3) ^ Z(BLACK_KNIGHT, G8) ^ Z(BLACK_KNIGHT, F6));
  EXPECT_EQ(HistoryTop->fifty, 1);
}

TEST_F(MakeMoveTest, ALoadedEnPassantSquareHasNoKeyToTakeOut) {
  Start("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  u64 key = HashKey;
  Make(Code(G8, F6));
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(HashKey, key ^ Z(BLACK_KNIGHT, G8) ^ Z(BLACK_KNIGHT, F6));
}

TEST_F(MakeMoveTest, CaptureOnACornerTakesThatRight) {
  Start("r3k2r/8/8/8/8/8/1B6/R3K2R w KQkq -");
  u64 key = HashKey;
  Make(Code(B2, H8, KIND_CAPTURE));
  EXPECT_EQ(CastleRights, CASTLE_WHITE_ANY | CASTLE_BLACK_LONG);
  EXPECT_EQ(HashKey, key ^ Z(BLACK_ROOK, H8) ^ Z(WHITE_BISHOP, B2) ^ Z(WHITE_BISHOP, H8) ^
                         CastleKey(CASTLE_BLACK_SHORT));
  EXPECT_EQ(LastRecord().captured, BLACK_ROOK);
  EXPECT_EQ(LastRecord().materialDelta, -5);
  EXPECT_EQ(PieceMaterial[BLACK], 5);
  EXPECT_EQ(HistoryTop->fifty, 0);
  // A promoting pawn's capture on the corner does the same.
  Start("r3k2r/6P1/8/8/8/8/8/R3K2R w KQkq -");
  Make(Code(G7, H8, KIND_CAPTURE_PROMOTE_QUEEN));
  EXPECT_EQ(CastleRights, CASTLE_WHITE_ANY | CASTLE_BLACK_LONG);
}

TEST_F(MakeMoveTest, CastlingSpendsItsRightWithoutAKey) {
  Start("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  u64 key = HashKey;
  Make(WHITE_SHORT_CASTLE);
  EXPECT_EQ(CastleRights, CASTLE_BLACK_ANY);
  EXPECT_EQ(HashKey, key ^ CastleKey(CASTLE_WHITE_LONG) ^ Z(WHITE_KING, E1) ^ Z(WHITE_KING, G1) ^
                         Z(WHITE_ROOK, H1) ^ Z(WHITE_ROOK, F1));
  EXPECT_EQ(Board[G1], WHITE_KING);
  EXPECT_EQ(Board[F1], WHITE_ROOK);
  EXPECT_EQ(Board[E1], EMPTY);
  EXPECT_EQ(Board[H1], EMPTY);
  EXPECT_EQ(WhiteKingSquare, G1);
  EXPECT_EQ(HistoryTop->fifty, 0);
  // Black castles long: the rook goes a8 to d8, b8 is not touched.
  key = HashKey;
  Make(BLACK_LONG_CASTLE);
  EXPECT_EQ(CastleRights, 0);
  EXPECT_EQ(HashKey, key ^ CastleKey(CASTLE_BLACK_SHORT) ^ Z(BLACK_KING, E8) ^ Z(BLACK_KING, C8) ^
                         Z(BLACK_ROOK, A8) ^ Z(BLACK_ROOK, D8));
  EXPECT_EQ(Board[C8], BLACK_KING);
  EXPECT_EQ(Board[D8], BLACK_ROOK);
  EXPECT_EQ(BlackKingSquare, C8);
}

TEST_F(MakeMoveTest, KingAndRookMovesTakeTheRightsStillHeld) {
  Start("r3k2r/8/8/8/8/8/8/R3K2R w Kkq -");
  u64 key = HashKey;
  Make(Code(E1, E2));
  EXPECT_EQ(CastleRights, CASTLE_BLACK_ANY);
  EXPECT_EQ(HashKey, key ^ CastleKey(CASTLE_WHITE_SHORT) ^ Z(WHITE_KING, E1) ^ Z(WHITE_KING, E2));
  EXPECT_EQ(HistoryTop->fifty, 1);
  Make(Code(A8, A1, KIND_CAPTURE));  // the black rook leaves a8 and takes on a1
  EXPECT_EQ(CastleRights, CASTLE_BLACK_SHORT);
  Make(Code(H1, H8, KIND_CAPTURE));  // a white rook may leave h1 without a right to lose
  EXPECT_EQ(CastleRights, 0);
}

TEST_F(MakeMoveTest, EnPassantCapture) {
  Start("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  Make(Code(E5, D6, KIND_EN_PASSANT));
  EXPECT_EQ(Board[D5], EMPTY);
  EXPECT_EQ(Board[D6], WHITE_PAWN);
  EXPECT_EQ(PawnCount[BLACK], 0);
  EXPECT_EQ(TotalMaterial, 1);
  EXPECT_EQ(PieceMaterial[BLACK], 0);
  EXPECT_EQ(LastRecord().captured, BLACK_PAWN);
  Start("4k3/8/8/8/3Pp3/8/8/4K3 b - d3");
  Make(Code(E4, D3, KIND_EN_PASSANT));
  EXPECT_EQ(Board[D4], EMPTY);
  EXPECT_EQ(PawnCount[WHITE], 0);
}

TEST_F(MakeMoveTest, PromotionWithCaptureCountsBothSides) {
  Start("4kr2/4P3/8/8/8/8/8/4K3 w - -");
  Make(Code(E7, F8, KIND_CAPTURE_PROMOTE_QUEEN));
  EXPECT_EQ(LastRecord().materialDelta, 3);
  EXPECT_EQ(PieceMaterial[WHITE], 9);
  EXPECT_EQ(PieceMaterial[BLACK], 0);
  EXPECT_EQ(PawnCount[WHITE], 0);
  EXPECT_EQ(TotalMaterial, 9);
  EXPECT_EQ(Board[F8], WHITE_QUEEN);
  Start("4k3/8/8/8/8/8/p7/4K3 b - -");
  Make(Code(A2, A1, KIND_PROMOTE_KNIGHT));
  EXPECT_EQ(Board[A1], BLACK_KNIGHT);
  EXPECT_EQ(LastRecord().materialDelta, 2);
  EXPECT_EQ(PieceMaterial[BLACK], 3);
  EXPECT_EQ(PawnHashKey, 0u);
}

TEST_F(MakeMoveTest, KindThreeIsAnInternalErrorThatChangesNothing) {
  Start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  PositionState before = CaptureState();
  UndoRecord record{};
  SavePositionForUndo(record);
  EXPECT_THROW(MakeMove(MOVE_NULL, record), InternalError);
  EXPECT_THROW(MakeMove(GAME_MATED, record), InternalError);
  EXPECT_THROW(UnmakeMove(GAME_REPETITION, record), InternalError);
  EXPECT_EQ(Differences(before, CaptureState()), "");
}

TEST_F(MakeMoveTest, FiftyCountsQuietMovesOnly) {
  Start("r3k2r/p7/8/8/8/8/P7/R3K1NR w KQkq -");
  Make(Code(G1, F3));
  Make(Code(E8, D8));
  Make(Code(F3, G1));
  EXPECT_EQ(HistoryTop->fifty, 3);
  Make(Code(A7, A6));  // pawn move
  EXPECT_EQ(HistoryTop->fifty, 0);
  Make(Code(G1, F3));
  Make(Code(H8, H1, KIND_CAPTURE));
  EXPECT_EQ(HistoryTop->fifty, 0);
  Make(Code(A1, D1));
  Make(Code(D8, C7));
  Make(Code(E1, E2));
  EXPECT_EQ(HistoryTop->fifty, 3);
}

// Every kind for both colours, corners included: make, check, unmake, compare.
TEST_F(MakeMoveTest, EveryKindRoundTrips) {
  struct Case {
    const char* position;
    Move move;
  };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", Code(G1, F3)},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", Code(E2, E4)},
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", Code(D7, D5)},
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", Code(E4, D5, KIND_CAPTURE)},
      {"4k3/8/8/3p4/4P3/8/8/4K3 b - -", Code(D5, E4, KIND_CAPTURE)},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", Code(A1, A8, KIND_CAPTURE)},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", Code(H8, H1, KIND_CAPTURE)},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", Code(E1, F1)},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", Code(A8, B8)},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", WHITE_SHORT_CASTLE},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", WHITE_LONG_CASTLE},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", BLACK_SHORT_CASTLE},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", BLACK_LONG_CASTLE},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", Code(E5, D6, KIND_EN_PASSANT)},
      {"4k3/8/8/8/3Pp3/8/8/4K3 b - d3", Code(E4, D3, KIND_EN_PASSANT)},
  };
  for (const Case& c : cases) ExpectRoundTrip(c.position, c.move);
  for (int kind = KIND_PROMOTE_QUEEN; kind <= KIND_PROMOTE_BISHOP; ++kind) {
    ExpectRoundTrip("4k3/1P6/8/8/8/8/6p1/4K3 w - -", Code(B7, B8, kind));
    ExpectRoundTrip("4k3/1P6/8/8/8/8/6p1/4K3 b - -", Code(G2, G1, kind));
  }
  for (int kind = KIND_CAPTURE_PROMOTE_QUEEN; kind <= KIND_CAPTURE_PROMOTE_BISHOP; ++kind) {
    ExpectRoundTrip("r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq -", Code(B7, A8, kind));
    ExpectRoundTrip("r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq -", Code(G7, H8, kind));
    ExpectRoundTrip("r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -", Code(B2, A1, kind));
    ExpectRoundTrip("r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -", Code(G2, H1, kind));
    ExpectRoundTrip("k5n1/5P2/8/8/8/8/8/4K3 w - -", Code(F7, G8, kind));
  }
}

}  // namespace
