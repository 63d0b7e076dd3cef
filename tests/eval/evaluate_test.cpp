#include "eval/evaluate.h"

#include "support/command_feed.h"
#include "support/engine_process.h"
#include "eval/pawn_structure.h"
#include "eval/square_tables.h"
#include "eval_fixture.h"

namespace {

using Evaluation = EvalTest;

constexpr i16 WINDOW = 8190;

int Score() { return Evaluate(-WINDOW, WINDOW); }

// Loads the position with each side to move in turn; the two scores.
struct BothSides {
  int whiteToMove, blackToMove;
};
BothSides ScoreBothSides(const std::string& placement) {
  EvalTest::Load(placement + " w - -");
  int white = Score();
  EvalTest::Load(placement + " b - -");
  return {white, Score()};
}

TEST_F(Evaluation, StartingPositionIsLevelForEitherSide) {
  BothSides scores = ScoreBothSides("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  EXPECT_EQ(scores.whiteToMove, 0);
  EXPECT_EQ(scores.blackToMove, 0);
}

TEST_F(Evaluation, BareKingsAndALoneMinorPieceAreDrawn) {
  for (const char* placement : {"4k3/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/3NK3",
                                "4k3/8/8/8/8/8/8/3BK3", "3bk3/8/8/8/8/8/8/4K3"}) {
    BothSides scores = ScoreBothSides(placement);
    EXPECT_EQ(scores.whiteToMove, 0) << placement;
    EXPECT_EQ(scores.blackToMove, 0) << placement;
  }
}

TEST_F(Evaluation, SideAheadWithoutPawnsAndWithOneMinorPieceGetsNothing) {
  // K+B v K+P: white is ahead but cannot win.
  BothSides scores = ScoreBothSides("4k3/4p3/8/8/8/8/8/3BK3");
  EXPECT_EQ(scores.whiteToMove, 0);
  EXPECT_GT(-scores.blackToMove, 0) << "black to move still sees white ahead";
  // Two knights are 6 units: the rule does not apply.
  scores = ScoreBothSides("4k3/8/8/8/8/8/8/2NNK3");
  EXPECT_GT(scores.whiteToMove, 0);
  EXPECT_EQ(scores.blackToMove, -scores.whiteToMove);
}

TEST_F(Evaluation, WeakerSideToMoveKeepsItsLoss) {
  // K+Q v K+B: only the side ahead is tested for drawish material.
  BothSides scores = ScoreBothSides("4k3/8/8/8/8/8/8/3QKb2");
  EXPECT_GT(scores.whiteToMove, 500);
  EXPECT_EQ(scores.blackToMove, -scores.whiteToMove);
}

TEST_F(Evaluation, RookUpWorkedByHand) {
  // 11 units: king table 4, pawn table 4, rook table 2. Kings on g1 and g8
  // read -19 each; the pawns f2-h2 and f7-h7 are 100 each and cancel.
  // Rook d1: 500 + 1, attacks a1..c1, e1..g1 and d2..d8 (13), g1 is its own
  // king: mobility 12, 2 x 12 - 14 = 10; an open file 8 + 12. Imbalance: a
  // major piece up with no queens, 100. No king danger with 5 units.
  BothSides scores = ScoreBothSides("6k1/5ppp/8/8/8/8/5PPP/3R2K1");
  EXPECT_EQ(scores.whiteToMove, 501 + 10 + 20 + 100);
  EXPECT_EQ(scores.blackToMove, -(501 + 10 + 20 + 100));
}

TEST_F(Evaluation, KingDangerWithoutShelterBelowThirtySixUnitsWorkedByHand) {
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

TEST_F(Evaluation, PassedPawnOnTheSeventhWorkedByHand) {
  // One unit: king table 4 (a1 and h8 -26 each), a7: 100 + 72 + 96 - 16 - 6.
  BothSides scores = ScoreBothSides("7k/P7/8/8/8/8/8/K7");
  EXPECT_EQ(scores.whiteToMove, 246);
  EXPECT_EQ(scores.blackToMove, -246);
}

// A position and its twin with the colours exchanged score the same for the
// side to move, wherever the rules treat the colours alike. Mirroring the
// ranks keeps the king tables' readings only where they are symmetric
// between ranks, and the piece tables' where they are symmetric between
// files; turning the board keeps the piece tables but swaps the wings.
const char* TWIN_POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r2q1rk1/pp2ppbp/2np1np1/8/3NP3/2N1B3/PPPQ1PPP/R3K2R w KQ -",
    "2r3k1/pp3ppp/2n5/3p4/3P4/2N5/PP3PPP/2R3K1 b - -",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
    "3r2k1/5ppp/8/8/3q4/8/7P/6K1 w - -",
    "8/5pk1/6p1/1p5p/1P3P1P/6P1/6K1/8 w - -",
    "r3k2r/1pp2ppp/p1n5/4p3/4P3/P1N5/1PP2PPP/R3K2R w KQkq -",
    "1r4k1/R4ppp/8/8/8/8/5PPP/6K1 b - -",
};

TEST_F(Evaluation, ColourFlippedTwinScoresTheSame) {
  for (const char* fen : TWIN_POSITIONS) {
    Load(fen);
    int score = Score();
    Load(ColourFlipped(fen));
    EXPECT_EQ(Score(), score) << fen;
  }
}

TEST_F(Evaluation, CachedPawnScoresGiveTheFreshEvaluation) {
  for (const char* fen : TWIN_POSITIONS) {
    Load(fen);
    int cold = Score();
    EXPECT_EQ(Score(), cold) << fen << " (warm cache)";
    ClearPawnHashTable();
    EXPECT_EQ(Score(), cold) << fen << " (cleared again)";
  }
}

TEST_F(Evaluation, EveryMaterialLevelFindsItsTables) {
  // Nine queens, two rooks, two bishops and two knights a side: 206 units,
  // more than any table of 192 would hold. The opening tables apply.
  const std::string crowded = "qqqqqqqk/nnbbrrqq/8/8/8/8/QQRRBBNN/KQQQQQQQ w - -";
  Load(crowded);
  EXPECT_EQ(TotalMaterial, 206);
  EXPECT_EQ(SquareTableOf(PAWN)[A7], 18);
  EXPECT_EQ(SquareTableOf(KING)[C1], -2);
  int score = Score();
  Load(TurnedAndFlipped(crowded));
  EXPECT_EQ(Score(), score) << "the board turned with the colours exchanged";
  for (int material = 0; material < TOTAL_MATERIAL_LIMIT; ++material) {
    for (int kind = PAWN; kind <= KING; ++kind) {
      ASSERT_NE(PstByMaterial[kind - 1][material], nullptr) << kind << " at " << material;
    }
  }
}

TEST_F(Evaluation, TableSelectionFollowsTheMaterialBands) {
  // Squares where the tables of neighbouring bands differ: king b8, pawn a7,
  // knight c8 and bishop h8 (both read from white's side).
  struct {
    int material;
    i16 king, pawn, knight, bishop;
  } bands[] = {
      {255, 12, 18, -12, -31}, {71, 12, 18, -12, -31}, {70, 6, 29, -6, -15},
      {63, 6, 29, -6, -15},    {62, 6, 52, -6, -15},   {47, 6, 52, -6, -15},
      {46, -6, 52, -6, -15},   {15, -6, 52, -6, -15},  {14, -19, 72, -6, -15},
      {0, -19, 72, -6, -15},
  };
  const u8 saved = TotalMaterial;
  for (const auto& band : bands) {
    TotalMaterial = static_cast<u8>(band.material);
    EXPECT_EQ(SquareTableOf(KING)[B8], band.king) << band.material;
    EXPECT_EQ(SquareTableOf(PAWN)[A7], band.pawn) << band.material;
    EXPECT_EQ(SquareTableOfPiece(BLACK_KNIGHT)[C8], band.knight) << band.material;
    EXPECT_EQ(SquareTableOfPiece(WHITE_BISHOP)[H8], band.bishop) << band.material;
    EXPECT_EQ(SquareTableOf(ROOK)[A2], band.material > 70 ? -9 : -6) << band.material;
    EXPECT_EQ(SquareTableOf(QUEEN)[B8], band.material > 70 ? 0 : 2) << band.material;
  }
  TotalMaterial = saved;
}

TEST_F(Evaluation, EvalWordPrintsTheScoreForTheSideToMove) {
  Load("7k/P7/8/8/8/8/8/K7 w - -");
  EXPECT_EQ(RunCommandsCapturingOutput("eval\n"), "Eval: 246\n");
  Load("7k/P7/8/8/8/8/8/K7 b - -");
  EXPECT_EQ(RunCommandsCapturingOutput("eval\n"), "Eval: -246\n");
}

TEST(EvalWord, WorksInTheEngineBeforeAnyPositionIsLoaded) {
  // An empty board is as drawn as bare kings.
  EngineRun run = RunEngine("eval\nevalx\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, "Eval: 0\n") << "only the exact word";
  EXPECT_EQ(run.errors, "");
}

}  // namespace
