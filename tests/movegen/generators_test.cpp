// The generators on positions worked by hand for both colours, captures against full generation, exchange scores.

#include "eval/square_tables.h"
#include "movegen/exchange.h"
#include "movegen/side_constants.h"
#include "movegen_probe.h"

constexpr i16 QUIET_SCORE = -30000;
using enum Generator;

// The list in order: "e2e4" is scored QUIET_SCORE, "e2e4:-9500" as written, and "e2e4:?" by square-table terms (left to
// the exchange tests); then, when given, the entries the legality test refuses.
struct Case { Generator generator; const char* fen; const char* list; const char* rejected = nullptr; };

const Case CASES[] = {
    {All, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", START_MOVES.c_str(), ""},
    // Captures with promotion towards each side, then the push promotions.
    {All, "r1n1k3/1P6/8/8/8/8/8/4K3 w - -",
     "b7a8q:-8901 b7a8n:-29505 b7a8r:-29525 b7a8b:-29550 b7c8q:-9081 b7c8n:-29685 b7c8r:-29705 "
     "b7c8b:-29730 b7b8q:-9401 b7b8n:-30005 b7b8r:-30025 b7b8b:-30050 e1f1 e1d1 e1f2 e1e2 e1d2"},
    // Two en-passant captures, the pawn nearer the h-file first; pawns blocked at once, after one step, and free.
    {All, "4k3/8/8/2PpP3/8/8/8/4K3 w - d6", "e5d6:-9500 c5d6:-9500 e5e6 c5c6 e1f1:? e1d1:? e1f2:? e1e2:? e1d2:?"},
    {All, "4k3/8/8/8/1p6/p7/PPP5/4K3 w - -", "b2a3:-9500 c2c4 c2c3 b2b3 e1f1:? e1d1:? e1f2:? e1e2:? e1d2:?"},
    // The knight on d2 is defended, the one on f2 is not; d1 and f1 are covered but written.
    {All, "4k3/8/8/8/8/2p5/3n1n2/4K3 w - -", "e1f2:? e1f1 e1d1 e1e2", "e1f1 e1d1 "},
    {All, "8/8/8/3k4/8/3K4/8/8 w - -", "d3e2 d3d2:? d3c2:? d3e3:? d3c3:?", ""},
    // Castling is written though the rook on f8 covers f1.
    {All, "r3kr2/8/8/8/8/8/8/R3K2R w KQ -",
     "h1g1:? h1f1:? h1h2:? h1h3:? h1h4:? h1h5:? h1h6:? h1h7:? h1h8:? a1a8:-9500 a1d1:? a1c1:? a1b1:? a1a2:? "
     "a1a3:? a1a4:? a1a5:? a1a6:? a1a7:? e1f1:? e1d1:? e1f2:? e1e2:? e1d2:? e1g1:-29000 e1c1:-29500",
     "e1f1 e1f2 e1g1 "},
    {All, "7k/5K1p/7P/8/8/8/8/8 b - -", ""},
    {Evasions, "4r1k1/8/8/8/R7/3n4/2B5/4K3 w - -", "e1f1 e1d1 e1f2 e1e2 e1d2"},  // double check
    // A checker that is a knight, or next to the king, is taken, never blocked.
    {Evasions, "4k3/8/8/8/8/3n4/R1B5/4K3 w - -", "c2d3:-9505 e1f1 e1d1 e1f2 e1e2 e1d2"},
    {Evasions, "4k3/8/8/8/8/2N5/R3r3/4K3 w - -", "c3e2:-9320 a2e2:-9500 e1e2:? e1f1 e1d1 e1f2 e1d2"},
    // Blocks on both squares between; the step back along the file is written.
    {Evasions, "6k1/8/8/4r1N1/Q7/7R/2B1K3/8 w - -",
     "g5e4:-30320 c2e4:-30325 h3e3:-30500 a4e4:-30950 e2f1 e2e1 e2d1 e2f2 e2d2 e2f3 e2d3", "e2e1 "},
    {Evasions, "4k3/8/8/8/r6K/6P1/5P2/8 w - -", "f2f4 g3g4 h4h3 h4h5 h4g5"},
    // En passant takes the checking pawn first; it does not answer a check by another piece.
    {Evasions, "4k3/8/8/3pP3/1N2K3/8/8/8 w - d6", "e5d6:-9500 b4d5:-9720 e4d5:? e4f3 e4e3 e4d3 e4f4 e4d4 e4f5"},
    {Evasions, "r3k3/8/8/3pP3/8/8/8/K7 w - d6", "a1b1 a1b2"},
    {Evasions, "4kb2/8/8/3pP3/8/K7/8/8 w - d6", "e5d6:-9500 a3b2 a3a2 a3b3 a3a4", ""},  // unless it blocks
    {Evasions, "r3k3/1P6/8/8/8/8/8/K7 w - -", "b7a8q:-8901 b7a8n:-29505 b7a8r:-29525 b7a8b:-29550 a1b1 a1b2"},
    {Evasions, "4k3/8/8/8/1b6/5n2/3N4/4K3 w - -", "d2f3:-9500 e1f1 e1d1 e1f2 e1e2", "d2f3 "},  // pinned
    // Knight takes pawn: dropped when a pawn defends it; a rook takes a rook without the exchange.
    {Captures, "4k3/8/2p5/3p4/8/4N3/8/4K3 w - -", ""},
    {Captures, "4k3/8/8/3p4/8/4N3/8/4K3 w - -", "e3d5:?"},
    {Captures, "4k3/8/2p5/3r4/8/8/8/3RK3 w - -", "d1d5:-9500"},
    // The free push writes the queen; the covered push goes; a capture keeps all four.
    {Captures, "4k3/P7/8/8/8/8/8/4K3 w - -", "a7a8q:?"},
    {Captures, "1rk5/P7/8/8/8/8/8/4K3 w - -", "a7b8q:-8901 a7b8n:-29505 a7b8r:-29525 a7b8b:-29550"},
    {Captures, "7k/8/8/Qq6/8/2NB4/8/1R5K w - -", "c3b5:-8870 d3b5:-8875 b1b5:-9050 a5b5:-9500"},
    {Captures, "4k3/8/8/8/8/2p5/3n1n2/4K3 w - -", "e1f2:?"},
};

// The list in the notation of Case::list, the open scores those of expected.
static std::string Written(const std::vector<MoveEntry>& list, const std::string& expected, bool sorted) {
  std::vector<std::string> words;
  for (const MoveEntry& entry : list) {
    std::string move = MoveText(entry.move);
    bool open = expected.find(move + ":?") != std::string::npos;
    words.push_back(move + (open ? ":?" : entry.score == QUIET_SCORE ? "" : ":" + std::to_string(entry.score)));
  }
  if (sorted) std::sort(words.begin(), words.end());
  std::string text;
  for (const std::string& word : words) text.append(text.empty() ? "" : " ").append(word);
  return text;
}

TEST(Generators, HandWorkedListsInOrderForBothColours) {
  Position pos;
  for (const Case& c : CASES) {
    Load(pos, c.fen);
    const std::vector<MoveEntry> white = Generate(pos, c.generator);
    EXPECT_EQ(Written(white, c.list, false), c.list) << c.fen;
    std::string rejected;
    for (const MoveEntry& entry : white) {
      if (!KeepsKingSafe(pos, entry.move)) rejected += MoveText(entry.move) + " ";
    }
    EXPECT_EQ(rejected, c.rejected ? c.rejected : rejected) << c.fen;
    // Black writes the mirrored moves with the same scores, in an order of its own.
    Load(pos, MirroredFen(c.fen));
    std::vector<MoveEntry> black = Generate(pos, c.generator);
    for (MoveEntry& entry : black) entry.move = MirroredMove(entry.move);
    EXPECT_EQ(Written(black, c.list, true), Written(white, c.list, true)) << MirroredFen(c.fen);
  }
}

// Out of check, capture generation keeps of the full list every en passant, pawn capture and capture-promotion, and the
// other captures scored at least -10000, with their scores; its push promotions (queens only) are such moves of the
// full list. Returns whether it compared.
static bool CapturesAreWhatTheFullListSays(Position& pos) {
  std::map<Move, int> all, expected, kept;
  for (const MoveEntry& e : Generate(pos, All)) {
    all[e.move] = e.score;
    int kind = MoveKind(e.move);
    bool byPawn = kind == KIND_EN_PASSANT || kind >= KIND_CAPTURE_PROMOTE_QUEEN ||
                  (kind == KIND_CAPTURE && pos.Board[MoveFrom(e.move)] <= BLACK_PAWN);
    if (!IsCastling(e.move) && (byPawn || (kind == KIND_CAPTURE && e.score >= -10000))) expected[e.move] = e.score;
  }
  if (pos.UndoRecords[1].checkers) return false;
  for (const MoveEntry& e : Generate(pos, Captures)) {
    if (MoveKind(e.move) != KIND_PROMOTE_QUEEN) kept[e.move] = e.score;
    else EXPECT_TRUE(all.count(e.move) && all[e.move] >= -10000 && e.score >= -10000) << MoveText(e.move);
  }
  EXPECT_EQ(kept, expected);
  return true;
}

TEST(Generators, CapturesAreWhatTheFullListSaysAlongThePerftTrees) {
  Position pos;
  int compared = 0;
  for (const KnownCounts& known : ReadPerftFile()) {
    Load(pos, known.fen);
    WalkTree(pos, SANITIZED ? 2 : 3, [&compared, &pos](int) { compared += CapturesAreWhatTheFullListSays(pos); });
  }
  EXPECT_GT(compared, 1000);
}

static int Score(Position& pos, const char* fen, int piece, int from, int to) {
  Load(pos, fen);
  return ExchangeScore(pos, piece, from, to, RooksAndQueens(pos), BishopsAndQueens(pos));
}

TEST(Exchange, HandWorkedExchanges) {
  Position pos;
  // The band and the material won or lost (rest), and the square tables: the mover's leaves from, what stands on to
  // afterwards (a promoted pawn's is the queen's) and, when a winning capture counts it, the victim's.
  struct Case { const char* why; const char* fen; int piece, from, to, pieceOnTo; bool victimCounted; int rest; };
  const Case cases[] = {
      {"Kxd2, undefended", "4k3/8/8/8/8/8/3n4/4K3 w - -", WHITE_KING, E1, D2, WHITE_KING, true, 320 - 9500},
      {"Rxd5 cxd5: 500 - 325 = 175 and 175 - 100 > 50 decide at once", "4k3/8/2p5/3b4/8/8/8/3RK3 w - -", WHITE_ROOK,
       D1, D5, WHITE_ROOK, false, -30000 + 100 / 2 - 175},
      {"a8=Q unattacked", "4k3/P7/8/8/8/8/8/4K3 w - -", WHITE_PAWN, A7, A8, WHITE_QUEEN, false, 800 - 9500},
      {"Rxd5: the king may not take back while the bishop aims at d5", "8/8/4k3/3n4/8/1B6/8/3R3K w - -", WHITE_ROOK,
       D1, D5, WHITE_ROOK, true, 320 - 9500},
      {"Nxd5 Qxd5 Qxd5 Rxd5: the rook joins once the white queen has left", "7k/8/8/q2p4/5N2/3Q4/7K/3r4 w - -",
       WHITE_KNIGHT, F4, D5, WHITE_KNIGHT, false, 100 - 320 - 30000},
      {"Rxd5 Rxd5 Rxd5: the rook on d1 joins once d2 has left", "3rk3/8/8/3p4/8/8/3R4/3RK3 w - -", WHITE_ROOK, D2,
       D5, WHITE_ROOK, true, 100 - 9500},
      {"Nxd5 Bxd5 Rxd5 Qxd5: the queen joins behind the bishop", "7k/1q6/2b5/3p4/5N2/8/8/3R2K1 w - -",
       WHITE_KNIGHT, F4, D5, WHITE_KNIGHT, false, 100 - 320 - 30000},
  };
  for (const Case& c : cases) {
    int score = Score(pos, c.fen, c.piece, c.from, c.to);
    auto psq = [&pos](int piece, int square) { return SquareTableOfPiece(pos, piece)[square]; };
    int squares = -psq(c.piece, c.from) + psq(c.pieceOnTo, c.to) + (c.victimCounted ? psq(pos.Board[c.to], c.to) : 0);
    EXPECT_EQ(score, squares + c.rest) << c.why;
  }
  // A king may not take a defended piece: 0x8001 as a 16-bit word.
  EXPECT_EQ(Score(pos, "4k3/8/8/8/8/2p5/3n4/4K3 w - -", WHITE_KING, E1, D2), -32767);  // the pawn covers d2
  EXPECT_EQ(Score(pos, "4k3/R2P4/8/8/8/8/8/4K3 b - -", BLACK_KING, E8, D7), -32767);   // the rook, from afar
}

TEST(Exchange, SelectionTakesTheHighestScoreAndTheEarliestAmongEquals) {
  MoveEntry list[] = {{-30000, 1}, {-9500, 2}, {-30000, 3}, {-9500, 4}, {-29000, 5}};
  std::string order;
  for (MoveEntry* next = list; next < std::end(list); ++next) {
    order += std::to_string(SelectNextMove(next, std::end(list)).move);
  }
  EXPECT_EQ(order, "24513");  // 2 before 4; at the end 1 before 3, which the swaps moved behind it
}

TEST(Exchange, LossOfAMoveIsWhatItsExchangeGivesAway) {
  Position pos;
  // Within the square tables' reach of the material given away.
  struct Case { const char* why; const char* fen; const char* move; int least, most; };
  const Case cases[] = {
      {"a knight put where a pawn takes it", "4k3/8/2p5/8/8/2N5/8/4K3 w - -", "c3d5", 250, 400},
      {"a knight to a square nobody attacks", "4k3/8/2p5/8/8/2N5/8/4K3 w - -", "c3e4", 0, 40},
      {"a queen takes a pawn a pawn defends", "4k3/8/2p5/3p4/8/8/8/3QK3 w - -", "d1d5", 700, 950},
      {"a rook takes a knight no one defends", "4k3/8/8/3n4/8/8/8/3RK3 w - -", "d1d5", 0, 0},
      {"a king move is never counted", "4k3/8/8/8/8/8/8/4K3 w - -", "e1e2", 0, 0},
      {"nor a promotion", "1r2k3/P7/8/8/8/8/8/4K3 w - -", "a7a8q", 0, 0},
  };
  for (const Case& c : cases) {
    Load(pos, c.fen);
    const Move move = LegalMoveNamed(pos, c.move);
    ASSERT_NE(move, NO_MOVE) << c.why;
    const int loss = ExchangeLoss(pos, move);
    EXPECT_GE(loss, c.least) << c.why;
    EXPECT_LE(loss, c.most) << c.why;
  }
}
