#include <gtest/gtest.h>

#include <set>

#include "board/position.h"
#include "board/zobrist.h"

namespace {

TEST(MoveCode, FieldsAndKnownCodes) {
  EXPECT_EQ(MakeMoveCode(E2, E4, KIND_QUIET), 0x0d24);
  EXPECT_EQ(WHITE_SHORT_CASTLE, 0xdf3e);
  EXPECT_EQ(MakeMoveCode(E7, D8, KIND_CAPTURE_PROMOTE_KNIGHT), 0x9303);
  Move m = 0x9303;
  EXPECT_EQ(MoveFrom(m), E7);
  EXPECT_EQ(MoveTo(m), D8);
  EXPECT_EQ(MoveKind(m), KIND_CAPTURE_PROMOTE_KNIGHT);
  EXPECT_TRUE(IsPromotion(m));
  EXPECT_FALSE(IsCastling(m));
  EXPECT_TRUE(IsCastling(BLACK_LONG_CASTLE));
}

TEST(MoveCode, GameEndCodesAreKindThreeWithEqualSquares) {
  for (Move code : {GAME_MATED, GAME_STALEMATE, GAME_REPETITION, GAME_FIFTY_MOVES, GAME_NO_MATERIAL,
                    MOVE_NULL}) {
    EXPECT_EQ(MoveKind(code), KIND_NOT_A_MOVE);
    EXPECT_EQ(MoveFrom(code), MoveTo(code));
  }
}

TEST(Squares, NumberingFromA8) {
  EXPECT_EQ(SquareAt(0, 8), A8);
  EXPECT_EQ(SquareAt(7, 1), H1);
  EXPECT_EQ(SquareAt(4, 1), E1);
  EXPECT_EQ(RowOf(E1), 7);
  EXPECT_EQ(FileOf(H8), 7);
}

TEST(Pieces, CodesLettersAndValues) {
  EXPECT_EQ(PieceCode(KNIGHT, WHITE), WHITE_KNIGHT);
  EXPECT_EQ(PieceCode(QUEEN, BLACK), BLACK_QUEEN);
  EXPECT_EQ(PieceCode(KING, WHITE), WHITE_KING);
  EXPECT_EQ(PieceLetters[BLACK_ROOK], 'r');
  EXPECT_EQ(PieceLetters[WHITE_KING], 'K');
  int initialPieceMaterial = 2 * PieceValue[WHITE_KNIGHT] + 2 * PieceValue[WHITE_BISHOP] +
                             2 * PieceValue[WHITE_ROOK] + PieceValue[WHITE_QUEEN];
  EXPECT_EQ(initialPieceMaterial, 31);
  EXPECT_EQ(2 * (initialPieceMaterial + 8 * PieceValue[BLACK_PAWN]), 78);
}

TEST(Aliases, NameTheColourIndexedEntries) {
  EXPECT_EQ(&WhitePawns, &PieceBB[1]);
  EXPECT_EQ(&BlackQueens, &PieceBB[10]);
  EXPECT_EQ(&WhitePieces, &ColourBB[1]);
  EXPECT_EQ(&BlackKingSquare, &KingSquare[0]);
}

// The keys are stored in books and databases: these values must never change.
TEST(ZobristKeys, ArePinned) {
  EXPECT_EQ(ZobristKeys[0][0], 0x17F8DEB82ADC3054ULL);
  EXPECT_EQ(ZobristKeys[0][G1], ZobristKeys[0][62]);
  EXPECT_EQ(ZobristKeys[WHITE_KING][E1], 0x94B288D9FE354BFEULL);
  EXPECT_EQ(ZobristKeys[BLACK_PAWN][D5], 0x30AB8CA836D97959ULL);
  EXPECT_EQ(ZobristKeys[BLACK_KING][H1], 0xA463A83E21FCEFEEULL);
}

TEST(ZobristKeys, AreAllDistinctAndNonZero) {
  std::set<u64> seen;
  for (const auto& row : ZobristKeys) {
    for (u64 key : row) {
      EXPECT_NE(key, 0u);
      seen.insert(key);
    }
  }
  EXPECT_EQ(seen.size(), 13u * 64u);
}

TEST(ZobristKeys, CastlingRightsUseTheKingDestinations) {
  EXPECT_EQ(CastleKey(CASTLE_WHITE_SHORT), ZobristKeys[0][62]);
  EXPECT_EQ(CastleKey(CASTLE_WHITE_LONG), ZobristKeys[0][58]);
  EXPECT_EQ(CastleKey(CASTLE_BLACK_SHORT), ZobristKeys[0][6]);
  EXPECT_EQ(CastleKey(CASTLE_BLACK_LONG), ZobristKeys[0][2]);
}

TEST(UndoRecord, FieldsInTheirOrder) {
  EXPECT_LT(offsetof(UndoRecord, checkers), offsetof(UndoRecord, kingRookRay));
  EXPECT_LT(offsetof(UndoRecord, savedHashKey), offsetof(UndoRecord, savedPawnHashKey));
  EXPECT_LT(offsetof(UndoRecord, listEnd), offsetof(UndoRecord, ttBound));
  EXPECT_LT(offsetof(UndoRecord, materialDelta), offsetof(UndoRecord, orderKeys));
}

}  // namespace
