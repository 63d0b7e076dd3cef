// Standard algebraic notation read in positions laid out by hand. The move a
// text should give is written in coordinates and read by the coordinate parser
// in the same position; "" is no move.
#include <gtest/gtest.h>

#include <cstring>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "tools/san.h"

namespace {

struct Case {
  const char* position;
  const char* san;
  const char* expected;
};

void ExpectAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadPosition(c.position)) << c.position;
    u64 key = HashKey;
    EXPECT_EQ(ParseSanMove(c.san), *c.expected ? ParseBoardMove(c.expected) : NO_MOVE) << c.san << " in " << c.position;
    EXPECT_EQ(HashKey, key) << c.san;
  }
}

constexpr const char* INITIAL = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
constexpr const char* CASTLES = "r3k2r/8/8/8/8/8/8/R3K2R w Qk -";
constexpr const char* BLACK_CASTLES = "r3k2r/8/8/8/8/8/8/R3K2R b Qk -";
constexpr const char* PROMOTES = "r1r4k/1P3P2/8/8/8/8/6p1/4K3 w - -";
constexpr const char* KNIGHTS = "4k3/8/8/8/8/5N2/8/1N2K3 w - -";
constexpr const char* PINNED_KNIGHT = "4k3/8/8/8/8/5N2/8/rN2K3 w - -";  // b1 shields its king
constexpr const char* ROOKS = "k7/8/8/8/4R3/8/8/4RK2 w - -";

class SanTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
};

TEST_F(SanTest, CastlingWithLetterOrDigitNeedsItsRight) {
  ExpectAll({{CASTLES, "O-O-O", "e1c1"}, {CASTLES, "0-0-0+", "e1c1"}, {CASTLES, "O-O", ""},
             {BLACK_CASTLES, "0-0", "e8g8"}, {BLACK_CASTLES, "O-O#", "e8g8"}, {BLACK_CASTLES, "O-O-O", ""},
             {CASTLES, "o-o-o", ""}});
}

TEST_F(SanTest, PawnPushesAndCaptures) {
  const char* black = "4k3/8/8/3p4/2P1P3/8/8/4K3 b - -";
  ExpectAll({{INITIAL, "e4", "e2e4"}, {INITIAL, "e3", "e2e3"}, {black, "d4", "d5d4"}, {black, "dxe4", "d5e4"},
             {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", "exf6", "e5f6"},  // en passant
             {"4k3/8/8/8/8/2n5/1P1B4/4K3 w - -", "bxc3", "b2c3"},  // a pawn; the bishop is B
             // No pawn can stand behind these squares.
             {KNIGHTS, "e1", ""}, {KNIGHTS, "d2", ""}, {BLACK_CASTLES, "d7", ""}});
}

TEST_F(SanTest, Promotions) {
  ExpectAll({{PROMOTES, "f8=Q", "f7f8q"}, {PROMOTES, "f8N", "f7f8n"}, {PROMOTES, "f8=b", "f7f8b"},
             {PROMOTES, "f8", "f7f8"}, {PROMOTES, "bxa8=Q", "b7a8q"}, {PROMOTES, "bxc8=N+", "b7c8n"},
             // The capturing pawn's file must neighbour its target's.
             {PROMOTES, "hxa8=Q", ""}, {PROMOTES, "bxb8=Q", ""}, {PROMOTES, "Qxa8=Q", ""}, {PROMOTES, "bxa9=Q", ""},
             {"4k3/8/8/8/8/8/6p1/4K2R b - -", "gxh1=R", "g2h1r"}, {"4k3/8/8/8/8/8/6p1/4K2R b - -", "g1Q", "g2g1q"}});
}

TEST_F(SanTest, PieceMovesAndDisambiguation) {
  ExpectAll({{KNIGHTS, "Nbd2", "b1d2"}, {KNIGHTS, "N3xd2", "f3d2"}, {KNIGHTS, "Nd2", ""}, {KNIGHTS, "Ncd2", ""},
             {PINNED_KNIGHT, "Nd2", "f3d2"}, {PINNED_KNIGHT, "Nbd2", "b1d2"},
             {ROOKS, "R1e2", "e1e2"}, {ROOKS, "Re2", ""}, {ROOKS, "Ree2", ""},
             {KNIGHTS, "Kg2", "e1g2"}});  // the king is where it stands
}

TEST_F(SanTest, LongAlgebraicAndOverlongText) {
  ExpectAll({{INITIAL, "Ng1f3", "g1f3"}, {INITIAL, "g1-f3", "g1f3"}, {INITIAL, "e2-e4", "e2e4"},
             {PROMOTES, "f7f8q", "f7f8q"}, {PROMOTES, "f7-f8=R", "f7f8r"},
             {"4k3/8/8/8/7Q/8/8/4r1K1 w - -", "Qh4xe1", "h4e1"},
             // Nine characters are read, the rest ignored.
             {KNIGHTS, "Nbd2+!?!?", "b1d2"}, {KNIGHTS, "Nb1d2!!!!X", "b1d2"}, {KNIGHTS, "++++++Nbd2", ""},
             {INITIAL, "e2e4abcde", ""}});
}

TEST_F(SanTest, CharactersOffTheBoardNameNoMove) {
  for (const char* text : {"", "x", "Zz9", "e9", "i4", "e0", "`4", "Ni3", "N9d2", "Nbi2", "ed9Q", "`d8Q",
                           "id8Q", "O-O-O-O", "e2e9", "\xff\xfe"}) {
    ExpectAll({{KNIGHTS, text, ""}});
  }
}

}  // namespace
