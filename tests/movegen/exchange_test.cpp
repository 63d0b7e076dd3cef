// The exchange evaluator on positions worked out by hand, and the selection
// rule that orders what it scores.
#include "movegen/exchange.h"
#include "movegen/side_constants.h"
#include "movegen_probe.h"

namespace {

class ExchangeTest : public MovegenTest {
 protected:
  int Score(const std::string& fen, int piece, int from, int to) {
    Load(fen);
    return ExchangeScore(piece, from, to, RooksAndQueens(), BishopsAndQueens());
  }
};

struct ExchangeCase {
  const char* why;
  const char* fen;
  int piece, from, to;
  int pieceOnTo;       // whose square table is read at `to` (a promoted pawn's is the queen's)
  bool victimCounted;  // a winning capture adds the victim's square value
  int rest;            // the band and the material the exchange wins or loses
};

const ExchangeCase CASES[] = {
    {"king takes an undefended knight", "4k3/8/8/8/8/8/3n4/4K3 w - -", WHITE_KING, E1, D2,
     WHITE_KING, true, 320 - 9500},
    {"rook takes a bishop, the pawn takes back: 500 - 325 = 175 and 175 - 100 > 50 decide at once",
     "4k3/8/2p5/3b4/8/8/8/3RK3 w - -", WHITE_ROOK, D1, D5, WHITE_ROOK, false, -30000 + 100 / 2 - 175},
    {"unattacked promotion", "4k3/P7/8/8/8/8/8/4K3 w - -", WHITE_PAWN, A7, A8, WHITE_QUEEN, false,
     800 - 9500},
    {"unattacked promotion of black", "4k3/8/8/8/8/8/7p/4K3 b - -", BLACK_PAWN, H2, H1, BLACK_QUEEN,
     false, 800 - 9500},
    {"the king may not take back while the bishop still aims at d5",
     "8/8/4k3/3n4/8/1B6/8/3R3K w - -", WHITE_ROOK, D1, D5, WHITE_ROOK, true, 320 - 9500},
    {"without the bishop the king takes back: 320 - 500", "8/8/4k3/3n4/8/8/8/3R3K w - -", WHITE_ROOK,
     D1, D5, WHITE_ROOK, false, -180 - 30000},
    {"Nxd5 Qxd5 Qxd5 Rxd5: the rook on d1 joins once the white queen has left, after black has "
     "used its queen", "7k/8/8/q2p4/5N2/3Q4/7K/3r4 w - -", WHITE_KNIGHT, F4, D5, WHITE_KNIGHT, false,
     100 - 320 - 30000},
    {"Rxd5 Rxd5 Rxd5: the rook on d1 joins once the one on d2 has left",
     "3rk3/8/8/3p4/8/8/3R4/3RK3 w - -", WHITE_ROOK, D2, D5, WHITE_ROOK, true, 100 - 9500},
    {"without the second rook the first is lost for a pawn", "3rk3/8/8/3p4/8/8/3R4/4K3 w - -",
     WHITE_ROOK, D2, D5, WHITE_ROOK, false, 100 - 500 - 30000},
    {"Nxd5 Bxd5 Rxd5 Qxd5: the queen on b7 joins behind the bishop",
     "7k/1q6/2b5/3p4/5N2/8/8/3R2K1 w - -", WHITE_KNIGHT, F4, D5, WHITE_KNIGHT, false,
     100 - 320 - 30000},
};

TEST_F(ExchangeTest, HandWorkedExchanges) {
  for (const ExchangeCase& c : CASES) {
    int score = Score(c.fen, c.piece, c.from, c.to);
    // The square tables depend on the material of the position just loaded.
    int squareTerms = -Psq(c.piece, c.from) + Psq(c.pieceOnTo, c.to) +
                      (c.victimCounted ? Psq(Board[c.to], c.to) : 0);
    EXPECT_EQ(score, squareTerms + c.rest) << c.why;
  }
}

TEST_F(ExchangeTest, KingMayNotTakeADefendedPiece) {
  // The knight on d2 is covered by the pawn on c3.
  EXPECT_EQ(Score("4k3/8/8/8/8/2p5/3n4/4K3 w - -", WHITE_KING, E1, D2), ILLEGAL_KING_CAPTURE);
  EXPECT_EQ(static_cast<u16>(ILLEGAL_KING_CAPTURE), 0x8001);
  // Covered by a rook further away, for the black king.
  EXPECT_EQ(Score("4k3/R2P4/8/8/8/8/8/4K3 b - -", BLACK_KING, E8, D7), ILLEGAL_KING_CAPTURE);
}

TEST_F(ExchangeTest, SelectionTakesTheHighestScoreAndTheEarliestAmongEquals) {
  MoveEntry list[] = {{-30000, 1}, {-9500, 2}, {-30000, 3}, {-9500, 4}, {-29000, 5}};
  MoveEntry* end = list + 5;
  std::string order;
  for (MoveEntry* next = list; next < end; ++next) {
    order += std::to_string(SelectNextMove(next, end).move);
  }
  // Among equal scores the entry standing first wins: 2 before 4, and at the
  // end 1 before 3 (the swaps moved 3 behind it).
  EXPECT_EQ(order, "24513");
}

}  // namespace
