// Coordinate move text: writing, the two parsers and the promotion letters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/move_text.h"
#include "board_probe.h"

namespace {

class MoveTextTest : public BoardTest {};

std::string Text(Move move) {
  char text[MOVE_TEXT_SIZE];
  char* end = MoveToText(text, move);
  EXPECT_EQ(end, text + std::strlen(text));
  return text;
}

TEST_F(MoveTextTest, Writing) {
  EXPECT_EQ(Text(MakeMoveCode(E2, E4, KIND_QUIET)), "e2e4");
  EXPECT_EQ(Text(MakeMoveCode(A8, H1, KIND_CAPTURE)), "a8h1");
  EXPECT_EQ(Text(WHITE_SHORT_CASTLE), "e1g1");
  EXPECT_EQ(Text(WHITE_LONG_CASTLE), "e1c1");
  EXPECT_EQ(Text(BLACK_SHORT_CASTLE), "e8g8");
  EXPECT_EQ(Text(BLACK_LONG_CASTLE), "e8c8");
  const char letters[] = "qnrb";
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Text(MakeMoveCode(B7, B8, KIND_PROMOTE_QUEEN + i)), std::string("b7b8") + letters[i]);
    EXPECT_EQ(Text(MakeMoveCode(G2, H1, KIND_CAPTURE_PROMOTE_QUEEN + i)), std::string("g2h1") + letters[i]);
  }
}

TEST_F(MoveTextTest, WrittenMovesParseBackToTheirCodes) {
  Load("r3k2r/1P4p1/8/3pP3/8/8/1p4P1/R3K2R w KQkq d6");
  for (Move move : {MakeMoveCode(E5, D6, KIND_EN_PASSANT), MakeMoveCode(E5, E6, KIND_QUIET),
                    MakeMoveCode(A1, A8, KIND_CAPTURE), WHITE_SHORT_CASTLE, WHITE_LONG_CASTLE,
                    MakeMoveCode(B7, B8, KIND_PROMOTE_ROOK), MakeMoveCode(B7, A8, KIND_CAPTURE_PROMOTE_BISHOP),
                    MakeMoveCode(G2, G4, KIND_QUIET)}) {
    EXPECT_EQ(ParseBoardMove(Text(move).c_str()), move) << Text(move);
    EXPECT_EQ(ParseGameMove(Text(move).c_str()), move) << Text(move);
  }
}

TEST_F(MoveTextTest, CastlingNeedsTheRight) {
  Load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_EQ(ParseBoardMove("e1g1"), 0xdf3e);
  EXPECT_EQ(ParseBoardMove("e8c8"), BLACK_LONG_CASTLE);  // the parser does not look at the side to move
  Load("r3k2r/8/8/8/8/8/8/R3K2R w Q -");
  EXPECT_EQ(ParseBoardMove("e1g1"), 0x0f3e);
  EXPECT_EQ(ParseBoardMove("e1c1"), WHITE_LONG_CASTLE);
  EXPECT_EQ(ParseBoardMove("e8g8"), MakeMoveCode(E8, G8, KIND_QUIET));
}

TEST_F(MoveTextTest, PromotionLetters) {
  Load("1r2k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(ParseBoardMove("a7b8q"), MakeMoveCode(A7, B8, KIND_CAPTURE_PROMOTE_QUEEN));
  EXPECT_EQ(ParseBoardMove("a7b8x"), 0x0201);  // no promotion letter: the bare code, even for a capture
  EXPECT_EQ(ParseBoardMove("a7a8N"), MakeMoveCode(A7, A8, KIND_PROMOTE_KNIGHT));
  EXPECT_EQ(ParseGameMove("a7a8N"), MakeMoveCode(A7, A8, KIND_QUIET));  // upper case is not read
  EXPECT_EQ(ParseGameMove("a7a8n"), MakeMoveCode(A7, A8, KIND_PROMOTE_KNIGHT));
  EXPECT_EQ(ParseBoardMove("a7a8"), MakeMoveCode(A7, A8, KIND_QUIET));  // matches no legal move
  EXPECT_EQ(ParseBoardMove("e1e2q"), MakeMoveCode(E1, E2, KIND_QUIET));  // a king ignores the letter
  const char* letters = "qnrbQNRB";
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(PromotionKind(letters[i]), (KIND_PROMOTE_QUEEN + i % 4) << 12);
    EXPECT_EQ(CapturePromotionKind(letters[i]), (KIND_CAPTURE_PROMOTE_QUEEN + i % 4) << 12);
  }
  for (char other : {'k', 'K', 'p', 'x', '\0', '1'}) {
    EXPECT_EQ(PromotionKind(other), 0);
    EXPECT_EQ(CapturePromotionKind(other), 0);
  }
}

TEST_F(MoveTextTest, OnlyBadSquareCharactersGiveNoMove) {
  Load("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  for (const char* text : {"", "e", "e2", "e2e", "i2e4", "e0e4", "e2e9", "E2E4", "2e4e"}) {
    EXPECT_EQ(ParseBoardMove(text), NO_MOVE) << text;
  }
  EXPECT_EQ(ParseBoardMove("e2e5"), MakeMoveCode(E2, E5, KIND_QUIET));  // not checked here
  EXPECT_EQ(ParseBoardMove("d1d7"), MakeMoveCode(D1, D7, KIND_CAPTURE));
  EXPECT_EQ(ParseBoardMove("e3e4"), MakeMoveCode(E3, E4, KIND_QUIET));
}

TEST_F(MoveTextTest, EnPassantOnlyForAPawnOrNothing) {
  Load("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  EXPECT_EQ(ParseBoardMove("e5d6"), MakeMoveCode(E5, D6, KIND_EN_PASSANT));
  EXPECT_EQ(ParseBoardMove("e1d6"), MakeMoveCode(E1, D6, KIND_QUIET));
}

TEST_F(MoveTextTest, GameParserReadsTheGameCopy) {
  Load("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  Board[E5] = EMPTY;        // the search position moves on; the game copy does not
  EnPassantSquare = 0;
  Board[D6] = BLACK_QUEEN;
  EXPECT_EQ(ParseGameMove("e5d6"), MakeMoveCode(E5, D6, KIND_EN_PASSANT));
  EXPECT_EQ(ParseBoardMove("e5d6"), MakeMoveCode(E5, D6, KIND_CAPTURE));
  Load("4k3/8/8/8/8/8/8/4K3 w - -");
}

}  // namespace
