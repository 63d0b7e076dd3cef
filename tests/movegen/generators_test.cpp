// The three generators on positions worked out by hand, each also played by
// black in the colour-mirrored position, and the evasion and capture lists
// against full generation along the known perft trees.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/generate_all.h"
#include "movegen_probe.h"

namespace {

struct Case {
  Generator generator;
  const char* fen;
  // The list in order: "e2e4:-30000" checks a score; a bare "e2e4" leaves it
  // to the exchange tests (square-table terms).
  const char* list;
  const char* legal = nullptr;  // the entries that pass the legality test, when checked
};

const Case CASES[] = {
    {Generator::All, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
     "g1h3:-30000 g1f3:-30000 b1c3:-30000 b1a3:-30000 h2h4:-30000 g2g4:-30000 f2f4:-30000 "
     "e2e4:-30000 d2d4:-30000 c2c4:-30000 b2b4:-30000 a2a4:-30000 h2h3:-30000 g2g3:-30000 "
     "f2f3:-30000 e2e3:-30000 d2d3:-30000 c2c3:-30000 b2b3:-30000 a2a3:-30000"},
    // Captures with promotion towards each side, then the push promotions.
    {Generator::All, "r1n1k3/1P6/8/8/8/8/8/4K3 w - -",
     "b7a8q:-8901 b7a8n:-29505 b7a8r:-29525 b7a8b:-29550 b7c8q:-9081 b7c8n:-29685 b7c8r:-29705 "
     "b7c8b:-29730 b7b8q:-9401 b7b8n:-30005 b7b8r:-30025 b7b8b:-30050 "
     "e1f1:-30000 e1d1:-30000 e1f2:-30000 e1e2:-30000 e1d2:-30000"},
    // Two en-passant captures, the pawn nearer the h-file first.
    {Generator::All, "4k3/8/8/2PpP3/8/8/8/4K3 w - d6",
     "e5d6:-9500 c5d6:-9500 e5e6:-30000 c5c6:-30000 e1f1 e1d1 e1f2 e1e2 e1d2"},
    // Pawns blocked at once, after one step, and free.
    {Generator::All, "4k3/8/8/8/1p6/p7/PPP5/4K3 w - -",
     "b2a3:-9500 c2c4:-30000 c2c3:-30000 b2b3:-30000 e1f1 e1d1 e1f2 e1e2 e1d2"},
    // The knight on d2 is defended, the one on f2 is not; d1 is covered but written.
    {Generator::All, "4k3/8/8/8/8/2p5/3n1n2/4K3 w - -", "e1f2 e1f1:-30000 e1d1:-30000 e1e2:-30000"},
    {Generator::All, "8/8/8/3k4/8/3K4/8/8 w - -", "d3e2:-30000 d3d2 d3c2 d3e3 d3c3"},
    // Castling is written though the rook on f8 covers f1.
    {Generator::All, "r3kr2/8/8/8/8/8/8/R3K2R w KQ -",
     "h1g1 h1f1 h1h2 h1h3 h1h4 h1h5 h1h6 h1h7 h1h8 a1a8:-9500 a1d1 a1c1 a1b1 a1a2 a1a3 a1a4 a1a5 "
     "a1a6 a1a7 e1f1 e1d1 e1f2 e1e2 e1d2 e1g1:-29000 e1c1:-29500"},
    {Generator::All, "7k/5K1p/7P/8/8/8/8/8 b - -", ""},
    // Double check: king moves only.
    {Generator::Evasions, "4r1k1/8/8/8/R7/3n4/2B5/4K3 w - -",
     "e1f1:-30000 e1d1:-30000 e1f2:-30000 e1e2:-30000 e1d2:-30000"},
    {Generator::Evasions, "4k3/8/8/8/8/3n4/R1B5/4K3 w - -",
     "c2d3:-9505 e1f1:-30000 e1d1:-30000 e1f2:-30000 e1e2:-30000 e1d2:-30000"},
    // A checker next to the king is taken, never blocked.
    {Generator::Evasions, "4k3/8/8/8/8/2N5/R3r3/4K3 w - -",
     "c3e2:-9320 a2e2:-9500 e1e2 e1f1:-30000 e1d1:-30000 e1f2:-30000 e1d2:-30000"},
    // Blocks on both squares between; the king's step back along the file is
    // written and fails the legality test.
    {Generator::Evasions, "6k1/8/8/4r1N1/Q7/7R/2B1K3/8 w - -",
     "g5e4:-30320 c2e4:-30325 h3e3:-30500 a4e4:-30950 e2f1:-30000 e2e1:-30000 e2d1:-30000 "
     "e2f2:-30000 e2d2:-30000 e2f3:-30000 e2d3:-30000",
     "g5e4 c2e4 h3e3 a4e4 e2f1 e2d1 e2f2 e2d2 e2f3 e2d3"},
    {Generator::Evasions, "4k3/8/8/8/r6K/6P1/5P2/8 w - -",
     "f2f4:-30000 g3g4:-30000 h4h3:-30000 h4h5:-30000 h4g5:-30000"},
    {Generator::Evasions, "4k3/8/8/3pP3/1N2K3/8/8/8 w - d6",
     "e5d6:-9500 b4d5:-9720 e4d5 e4f3:-30000 e4e3:-30000 e4d3:-30000 e4f4:-30000 e4d4:-30000 "
     "e4f5:-30000"},
    {Generator::Evasions, "r3k3/8/8/3pP3/8/8/8/K7 w - d6", "a1b1:-30000 a1b2:-30000"},
    // Set up by hand: taking en passant lands between the bishop and the king.
    {Generator::Evasions, "4kb2/8/8/3pP3/8/K7/8/8 w - d6",
     "e5d6:-9500 a3b2:-30000 a3a2:-30000 a3b3:-30000 a3a4:-30000", "e5d6 a3b2 a3a2 a3b3 a3a4"},
    {Generator::Evasions, "r3k3/1P6/8/8/8/8/8/K7 w - -",
     "b7a8q:-8901 b7a8n:-29505 b7a8r:-29525 b7a8b:-29550 a1b1:-30000 a1b2:-30000"},
    // The pinned knight takes the checker and fails the legality test.
    {Generator::Evasions, "4k3/8/8/8/1b6/5n2/3N4/4K3 w - -",
     "d2f3:-9500 e1f1:-30000 e1d1:-30000 e1f2:-30000 e1e2:-30000", "e1f1 e1d1 e1f2 e1e2"},
    // The checking queen is defended: the king does not take it.
    {Generator::Evasions, "4k3/8/8/8/8/2n5/4q3/4K3 w - -", "e1f1:-30000 e1d1:-30000 e1f2:-30000 e1d2:-30000"},
    // A knight taking a pawn that a pawn defends loses and is dropped.
    {Generator::Captures, "4k3/8/2p5/3p4/8/4N3/8/4K3 w - -", ""},
    {Generator::Captures, "4k3/8/8/3p4/8/4N3/8/4K3 w - -", "e3d5"},
    {Generator::Captures, "4k3/8/2p5/3r4/8/8/8/3RK3 w - -", "d1d5:-9500"},
    {Generator::Captures, "4k3/P7/8/8/8/8/8/4K3 w - -", "a7a8q"},
    // The covered push goes; the capture of the defended rook keeps all four.
    {Generator::Captures, "1rk5/P7/8/8/8/8/8/4K3 w - -",
     "a7b8q:-8901 a7b8n:-29505 a7b8r:-29525 a7b8b:-29550"},
    {Generator::Captures, "7k/8/8/Qq6/8/2NB4/8/1R5K w - -",
     "c3b5:-8870 d3b5:-8875 b1b5:-9050 a5b5:-9500"},
    {Generator::Captures, "4k3/8/8/8/8/2p5/3n1n2/4K3 w - -", "e1f2"},
    {Generator::Captures, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", ""},
};

struct Expected {
  std::string move;
  bool scored;
  int score;
};

std::vector<Expected> Parse(const char* list) {
  std::vector<Expected> expected;
  std::istringstream in(list);
  for (std::string token; in >> token;) {
    size_t colon = token.find(':');
    bool scored = colon != std::string::npos;
    expected.push_back({token.substr(0, colon), scored, scored ? std::stoi(token.substr(colon + 1)) : 0});
  }
  return expected;
}

class GeneratorsTest : public MovegenTest {};

TEST_F(GeneratorsTest, HandWorkedListsInOrderForBothColours) {
  for (const Case& c : CASES) {
    Load(c.fen);
    std::vector<MoveEntry> white = Generate(c.generator);
    std::vector<Expected> expected = Parse(c.list);
    ASSERT_EQ(white.size(), expected.size()) << c.fen << "\n" << MovesAndScores(white);
    for (size_t i = 0; i < white.size(); ++i) {
      EXPECT_EQ(Text(white[i].move), expected[i].move) << c.fen << " entry " << i;
      if (expected[i].scored) {
        EXPECT_EQ(white[i].score, expected[i].score) << c.fen << " " << expected[i].move;
      }
    }
    if (c.legal) {
      EXPECT_EQ(Moves(LegalEntries(white)), c.legal) << c.fen;
    }

    // Black's generator on the mirrored position: the mirrored moves, and
    // the same scores wherever they do not come from the square tables.
    Load(MirroredFen(c.fen));
    std::vector<MoveEntry> black = Generate(c.generator);
    ASSERT_EQ(black.size(), white.size()) << MirroredFen(c.fen);
    for (size_t i = 0; i < white.size(); ++i) {
      Move mirrored = MirroredMove(white[i].move);
      auto found = std::find_if(black.begin(), black.end(), [mirrored](const MoveEntry& e) { return e.move == mirrored; });
      ASSERT_NE(found, black.end()) << MirroredFen(c.fen) << " lacks the mirror of " << expected[i].move;
      if (expected[i].scored) {
        EXPECT_EQ(found->score, white[i].score) << MirroredFen(c.fen);
      }
    }
  }
}

TEST_F(GeneratorsTest, PieceKindsInTheirOrder) {
  Load("4k3/8/8/8/8/8/8/1B1QKRN1 w - -");
  std::string order;
  for (const MoveEntry& entry : Generate(Generator::All)) {
    char letter = PieceLetters[Board[MoveFrom(entry.move)]];
    if (order.empty() || order.back() != letter) order += letter;
  }
  EXPECT_EQ(order, "NQRBK");
}

std::vector<Move> LegalMoves(Generator generator) {
  std::vector<Move> moves;
  for (const MoveEntry& entry : LegalEntries(Generate(generator))) moves.push_back(entry.move);
  std::sort(moves.begin(), moves.end());
  return moves;
}

// What capture generation must keep of the full list: every en passant,
// pawn capture and capture-promotion, and the piece and king captures scored
// at least -10000, with the same scores; and its queen promotions by push
// must be moves of the full list scored at least -10000.
void ExpectCapturesFromFullList() {
  std::vector<std::pair<Move, int>> expected, kept;
  std::vector<MoveEntry> all = Generate(Generator::All);
  for (const MoveEntry& e : all) {
    int kind = MoveKind(e.move);
    bool pawnCapture = kind == KIND_EN_PASSANT || kind >= KIND_CAPTURE_PROMOTE_QUEEN ||
                       (kind == KIND_CAPTURE && Board[MoveFrom(e.move)] <= BLACK_PAWN);
    if (!IsCastling(e.move) && (pawnCapture || (kind == KIND_CAPTURE && e.score >= -10000))) {
      expected.emplace_back(e.move, e.score);
    }
  }
  for (const MoveEntry& e : Generate(Generator::Captures)) {
    if (MoveKind(e.move) != KIND_PROMOTE_QUEEN) {
      kept.emplace_back(e.move, e.score);
      continue;
    }
    EXPECT_GE(e.score, -10000);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&e](const MoveEntry& f) { return f.move == e.move; }));
  }
  std::sort(expected.begin(), expected.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, expected);
}

// In check, the legal evasions are the legal moves of full generation;
// otherwise the captures are what the full list says they are.
int CompareAlongTheTree(int depth) {
  FindCheckers(UndoRecords[1]);
  if (UndoRecords[1].checkers) {
    EXPECT_EQ(LegalMoves(Generator::Evasions), LegalMoves(Generator::All));
  } else {
    ExpectCapturesFromFullList();
  }
  int inCheck = UndoRecords[1].checkers ? 1 : 0;
  if (depth == 0) return inCheck;
  for (const MoveEntry& entry : LegalEntries(GenerateForPosition())) {
    UndoRecord record;
    SavePositionForUndo(record);
    MakeMove(entry.move, record);
    inCheck += CompareAlongTheTree(depth - 1);
    UnmakeMove(entry.move, record);
  }
  return inCheck;
}

TEST_F(GeneratorsTest, EvasionsAndCapturesAgreeWithFullGeneration) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr int DEPTH = 2;
#else
  constexpr int DEPTH = 3;
#endif
  std::ifstream file(TAVREL_SHARED_DIR "/perft/public.epd");
  int inCheck = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty()) continue;
    Load(line.substr(0, line.find(';')));
    inCheck += CompareAlongTheTree(DEPTH);
  }
  EXPECT_GT(inCheck, 50);
}

}  // namespace
