#include "eval/evaluate.h"

#include "eval/pawn_structure.h"
#include "eval/square_tables.h"
#include "movegen/movegen_probe.h"  // Load, MirroredFen

namespace {

constexpr i16 WINDOW = 8190;

int Score() { return Evaluate(-WINDOW, WINDOW); }

// The scores with white and with black to move.
std::pair<int, int> ScoreBothSides(const std::string& placement) {
  Load(placement + " w - -");
  const int white = Score();
  Load(placement + " b - -");
  return {white, Score()};
}

TEST(Evaluation, LevelAndDrawnMaterial) {
  for (const char* placement : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "4k3/8/8/8/8/8/8/4K3",
                                "4k3/8/8/8/8/8/8/3NK3", "4k3/8/8/8/8/8/8/3BK3", "3bk3/8/8/8/8/8/8/4K3"}) {
    EXPECT_EQ(ScoreBothSides(placement), std::make_pair(0, 0)) << placement;
  }
  // K+B v K+P: the side ahead without pawns and with one minor piece gets nothing.
  auto [white, black] = ScoreBothSides("4k3/4p3/8/8/8/8/8/3BK3");
  EXPECT_TRUE(white == 0 && black < 0) << "black to move still sees white ahead: " << black;
  // Two knights are 6 units; K+Q v K+B: only the side ahead is tested.
  for (const char* placement : {"4k3/8/8/8/8/8/8/2NNK3", "4k3/8/8/8/8/8/8/3QKb2"}) {
    std::tie(white, black) = ScoreBothSides(placement);
    EXPECT_TRUE(white > 0 && black == -white) << placement << ": " << white << ", " << black;
  }
}

TEST(Evaluation, WholePositionsWorkedByHand) {
  // 11 units: king table 4, pawn table 4, rook table 2. Kings on g1 and g8
  // read -19 each; the pawns f2-h2 and f7-h7 are 100 each and cancel.
  // Rook d1: 500 + 1, attacks a1..c1, e1..g1 and d2..d8 (13), g1 is its own
  // king: mobility 12, 2 x 12 - 14 = 10; an open file 8 + 12. Imbalance: a
  // major piece up with no queens, 100. No king danger with 5 units.
  EXPECT_EQ(ScoreBothSides("6k1/5ppp/8/8/8/8/5PPP/3R2K1"), std::make_pair(631, -631));

  // 18 units: king table 3 (g1 and g8 both -6), pawn table 3, piece tables 2.
  // Pawns: h2 100, isolated -16 (h7 ahead) = 84; f7 -100, passed on its 7th
  // rank -16 = -116; g7 and h7 -100 each: -232 in all.
  // Rook d8: 500 + 1, attacks a8..c8, e8..g8, d7..d4 (10), own d4 and g8:
  // mobility 8, 2 x 8 - 14 = 2; open file 20: -523.
  // Queen d4: 950 + 7 (e5 from white's side), attacks 26 squares, own d8 and
  // g7: mobility 24, 24 - 13 = 11: -968. Tropism: 3 squares from g1 (4) and it
  // attacks f2 beside the king (1): attack weight 5, worth 15.
  // Shelter would be 12 for the h2 pawn and the danger index 5 (factor 2),
  // but with less than 36 units neither counts: the factor stays 1.
  // Imbalance: two majors down against a queen with 14 units behind it: -60.
  // (White is in check: only white can be to move.)
  Load("3r2k1/5ppp/8/8/3q4/8/7P/6K1 w - -");
  EXPECT_EQ(Score(), -232 - 523 - 968 - 15 - 60);
}

// A position and its twin with the colours exchanged score the same for the
// side to move, and their pawns the same for their own side, wherever the
// rules treat the colours alike. Mirroring the ranks keeps the king tables'
// readings only where they are symmetric between ranks, and the piece tables'
// where they are symmetric between files.
TEST(Evaluation, ColourFlippedTwinsScoreTheSame) {
  for (const char* fen :
       {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
        "r2q1rk1/pp2ppbp/2np1np1/8/3NP3/2N1B3/PPPQ1PPP/R3K2R w KQ -", "2r3k1/pp3ppp/2n5/3p4/3P4/2N5/PP3PPP/2R3K1 b - -",
        "3r2k1/5ppp/8/8/3q4/8/7P/6K1 w - -", "8/5pk1/6p1/1p5p/1P3P1P/6P1/6K1/8 w - -",
        "r3k2r/1pp2ppp/p1n5/4p3/4P3/P1N5/1PP2PPP/R3K2R w KQkq -", "8/2p5/1p1p4/8/1P1P4/8/5k1K/8 w - -",
        "rnbqkbnr/pp3ppp/4p3/2pp4/3P4/4PN2/PPP2PPP/RNBQKB1R w KQkq -", "4k3/1P6/P7/8/8/8/8/4K3 w - -",
        "4k3/3p4/8/8/8/8/P2P4/4K3 w - -", "1r4k1/R4ppp/8/8/8/8/5PPP/6K1 b - -"}) {
    Load(fen);
    const int score = Score(), pawns = PawnStructureScore();
    Load(MirroredFen(fen));
    EXPECT_EQ(std::pair(Score(), PawnStructureScore()), std::pair(score, -pawns)) << fen;
  }
}

TEST(Evaluation, TablesFollowTheMaterialBandsUpToTheMostMaterialPossible) {
  // Nine queens, two rooks, two bishops and two knights a side: 206 units,
  // more than any table of 192 would hold. The position is its own twin
  // turned by 180 degrees with the colours exchanged.
  Load("qqqqqqqk/nnbbrrqq/8/8/8/8/QQRRBBNN/KQQQQQQQ b - -");
  const int score = Score();
  Load("qqqqqqqk/nnbbrrqq/8/8/8/8/QQRRBBNN/KQQQQQQQ w - -");
  EXPECT_EQ(TotalMaterial, 206);
  EXPECT_EQ(Score(), score);
  for (int material = 0; material < TOTAL_MATERIAL_LIMIT; ++material) {
    for (int kind = PAWN; kind <= KING; ++kind) ASSERT_NE(PstByMaterial[kind - 1][material], nullptr) << material;
  }
  // On each side of every band edge, squares where neighbouring tables differ:
  // king b8, pawn a7, knight c8 and bishop h8 (read from white's side), rook
  // a2 and queen b8. Every material above 70 reads the opening tables.
  struct {
    int material;
    i16 king, pawn, knight, bishop, rook, queen;
  } bands[] = {{255, 12, 18, -12, -31, -9, 0}, {206, 12, 18, -12, -31, -9, 0}, {71, 12, 18, -12, -31, -9, 0},
               {70, 6, 29, -6, -15, -6, 2},    {63, 6, 29, -6, -15, -6, 2},    {62, 6, 52, -6, -15, -6, 2},
               {47, 6, 52, -6, -15, -6, 2},    {46, -6, 52, -6, -15, -6, 2},   {15, -6, 52, -6, -15, -6, 2},
               {14, -19, 72, -6, -15, -6, 2}};
  for (const auto& band : bands) {
    TotalMaterial = static_cast<u8>(band.material);
    const i16 read[] = {SquareTableOf(KING)[B8], SquareTableOf(PAWN)[A7], SquareTableOfPiece(BLACK_KNIGHT)[C8],
                        SquareTableOfPiece(WHITE_BISHOP)[H8], SquareTableOf(ROOK)[A2], SquareTableOf(QUEEN)[B8]};
    const i16 expected[] = {band.king, band.pawn, band.knight, band.bishop, band.rook, band.queen};
    for (size_t i = 0; i < std::size(read); ++i) EXPECT_EQ(read[i], expected[i]) << "table " << i << " at " << band.material;
  }
}

}  // namespace
