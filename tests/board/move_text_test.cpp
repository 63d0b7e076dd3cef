// Coordinate move text written and parsed, and the from-square of a piece move named by piece and destination.

#include "board/resolve_move.h"
#include "board_probe.h"

static std::string Text(Move move) {
  char text[MOVE_TEXT_SIZE];
  char* end = MoveToText(text, move);
  EXPECT_EQ(end, text + std::strlen(text));
  return text;
}

// Every kind of move in one position: its text, and both parsers giving the code back.
TEST_F(BoardTest, WrittenMovesParseBackToTheirCodes) {
  Position pos;
  EXPECT_EQ(Text(BLACK_SHORT_CASTLE) + Text(BLACK_LONG_CASTLE), "e8g8e8c8");
  Load(pos, "r3k2r/1P4p1/8/3pP3/8/8/1p4P1/R3K2R w KQkq d6");
  std::vector<std::pair<Move, std::string>> moves = {
      {MakeMoveCode(E5, D6, KIND_EN_PASSANT), "e5d6"}, {MakeMoveCode(E5, E6, KIND_QUIET), "e5e6"},
      {MakeMoveCode(A1, A8, KIND_CAPTURE), "a1a8"}, {WHITE_SHORT_CASTLE, "e1g1"}, {WHITE_LONG_CASTLE, "e1c1"},
      {MakeMoveCode(G2, G4, KIND_QUIET), "g2g4"}};
  for (int i = 0; i < 4; ++i) {
    moves.push_back({MakeMoveCode(B7, B8, KIND_PROMOTE_QUEEN + i), std::string("b7b8") + "qnrb"[i]});
    moves.push_back({MakeMoveCode(B7, A8, KIND_CAPTURE_PROMOTE_QUEEN + i), std::string("b7a8") + "qnrb"[i]});
  }
  for (const auto& [move, text] : moves) {
    EXPECT_EQ(Text(move), text);
    EXPECT_EQ(std::tuple(ParseBoardMove(pos, text.c_str()), ParseGameMove(pos, text.c_str())), std::tuple(move, move))
        << text;
  }
}

TEST_F(BoardTest, ParsersReadOnlySquaresRightsAndPromotionLetters) {
  Position pos;
  Load(pos, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_EQ(ParseBoardMove(pos, "e1g1"), 0xdf3e);
  EXPECT_EQ(ParseBoardMove(pos, "e8c8"), BLACK_LONG_CASTLE);                        // whoever is to move
  EXPECT_EQ(ParseGameMove(pos, "e8c8r"), MakeMoveCode(E8, C8, KIND_PROMOTE_ROOK));  // a promotion letter: no castling
  Load(pos, "r3k2r/8/8/8/8/8/8/R3K2R w Q -");
  EXPECT_EQ(ParseBoardMove(pos, "e1g1"), 0x0f3e);
  EXPECT_EQ(ParseBoardMove(pos, "e8g8"), MakeMoveCode(E8, G8, KIND_QUIET));
  Load(pos, "1r2k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(ParseBoardMove(pos, "a7b8q"), MakeMoveCode(A7, B8, KIND_CAPTURE_PROMOTE_QUEEN));
  EXPECT_EQ(ParseBoardMove(pos, "a7b8x"), 0x0201);  // no promotion letter: the bare code, even for a capture
  EXPECT_EQ(ParseBoardMove(pos, "a7a8N"), MakeMoveCode(A7, A8, KIND_PROMOTE_KNIGHT));
  EXPECT_EQ(ParseGameMove(pos, "a7a8N"), MakeMoveCode(A7, A8, KIND_QUIET));  // upper case is not read
  EXPECT_EQ(ParseBoardMove(pos, "a7a8"), MakeMoveCode(A7, A8, KIND_QUIET));
  // A promotion letter makes a promotion of any move, which then matches no legal move.
  EXPECT_EQ(ParseBoardMove(pos, "e1e2q"), MakeMoveCode(E1, E2, KIND_PROMOTE_QUEEN));
  EXPECT_EQ(ParseBoardMove(pos, "e1b8"), MakeMoveCode(E1, B8, KIND_CAPTURE));  // legality is not tested
  for (const char* text : {"", "e", "e2", "e2e", "i2e4", "e0e4", "e2e9", "E2E4", "2e4e"}) {
    EXPECT_EQ(ParseBoardMove(pos, text), NO_MOVE) << text;
  }
  for (char other : {'k', 'K', 'p', 'x', '\0'}) EXPECT_EQ(PromotionKind(other) | CapturePromotionKind(other), 0);
}

TEST_F(BoardTest, EnPassantForAPawnOrNothingAndTheGameParserReadsTheGameCopy) {
  Position pos;
  Load(pos, "4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  EXPECT_EQ(ParseBoardMove(pos, "e1d6"), MakeMoveCode(E1, D6, KIND_QUIET));
  pos.Board[E5] = EMPTY;  // the search position moves on; the game copy does not
  pos.EnPassantSquare = 0;
  pos.Board[D6] = BLACK_QUEEN;
  EXPECT_EQ(ParseGameMove(pos, "e5d6"), MakeMoveCode(E5, D6, KIND_EN_PASSANT));
  EXPECT_EQ(ParseBoardMove(pos, "e5d6"), MakeMoveCode(E5, D6, KIND_CAPTURE));
  Load(pos, INITIAL_POSITION);
}

// The oddities of ResolvePieceMove (its choices are tested with the SAN parser): a single candidate is taken untested,
// king and pawns ignore the filter, off-board squares are no move.
TEST_F(BoardTest, ResolvePieceMove) {
  Position pos;
  constexpr u64 ALL = ~u64{0};
  const struct { const char* position; const char* text; int to; u64 filter; Move expected; } cases[] = {
      {"4k3/8/8/b7/8/8/3N4/4K1N1 w - -", "Nf3", F3, ALL, MakeMoveCode(G1, F3, KIND_QUIET)},
      {"4k3/8/8/b7/8/8/3N4/4K3 w - -", "Nf3", F3, ALL, MakeMoveCode(D2, F3, KIND_QUIET)},
      {"4k3/8/8/8/8/8/R2P3R/4K3 w - -", "Re2", E2, ALL, MakeMoveCode(H2, E2, KIND_QUIET)},
      {"4k3/8/8/8/8/2B1B3/8/3QK3 w - -", "Bd4", D4, SquareBit(C3), MakeMoveCode(C3, D4, KIND_QUIET)},
      {"4k3/8/8/8/8/8/8/4K3 w - -", "Kg2", G2, 0, MakeMoveCode(E1, G2, KIND_QUIET)},
      {"4k3/8/8/2pPp3/8/8/8/4K3 w - c6", "dc6", C6, 0, MakeMoveCode(D5, C6, KIND_EN_PASSANT)},
      {"4k3/8/8/2pPp3/8/8/8/4K3 w - c6", "ee6", E6, ALL, NO_MOVE},
      {"4k3/3p4/2P1P3/8/8/8/8/4K3 b - -", "dc6", C6, ALL, MakeMoveCode(D7, C6, KIND_CAPTURE)},
      {"4k3/8/8/8/8/8/8/4KN2 w - -", "Pe4", E4, ALL, NO_MOVE}, {"4k3/8/8/8/8/8/8/4KN2 w - -", "", E4, ALL, NO_MOVE},
      {"4k3/8/8/8/8/8/8/4KN2 w - -", "Nd2", -1, ALL, NO_MOVE}, {"4k3/8/8/8/8/8/8/4KN2 w - -", "Nd2", 64, ALL, NO_MOVE},
  };
  for (const auto& c : cases) {
    Load(pos, c.position);
    EXPECT_EQ(ResolvePieceMove(pos, c.text, c.to, c.filter), c.expected) << c.position << " " << c.text;
  }
}
