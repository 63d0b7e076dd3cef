// Whole evaluations: level and drawn material, positions worked by hand, colour-flipped twins; then digests of the
// evaluation and the exchange evaluator over many real positions, which speed work must keep score for score.
#include "board/move_validity.h"
#include "engine/game.h"
#include "eval/evaluate.h"
#include "eval/pawn_structure.h"
#include "eval/square_tables.h"
#include "movegen/exchange.h"
#include "movegen/movegen_probe.h"  // Load, MirroredFen, ReadPerftFile
#include "movegen/side_constants.h"
#include "support/engine_process.h"
#include "tools/pgn_reader.h"

constexpr i16 WINDOW = 8190;

static int Score(Position& pos) { return Evaluate(pos, -WINDOW, WINDOW); }

// The scores with white and with black to move.
static std::pair<int, int> ScoreBothSides(Position& pos, const std::string& placement) {
  Load(pos, placement + " w - -");
  const int white = Score(pos);
  Load(pos, placement + " b - -");
  return {white, Score(pos)};
}

TEST(Evaluation, LevelAndDrawnMaterial) {
  Engine engine;
  Position& pos = engine.game;
  for (const char* placement : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "4k3/8/8/8/8/8/8/4K3",
                                "4k3/8/8/8/8/8/8/3NK3", "4k3/8/8/8/8/8/8/3BK3", "3bk3/8/8/8/8/8/8/4K3"}) {
    EXPECT_EQ(ScoreBothSides(pos, placement), std::make_pair(0, 0)) << placement;
  }
  // K+B v K+P: the side ahead without pawns and with one minor piece gets nothing.
  auto [white, black] = ScoreBothSides(pos, "4k3/4p3/8/8/8/8/8/3BK3");
  EXPECT_TRUE(white == 0 && black < 0) << "black to move still sees white ahead: " << black;
  // Two knights are 6 units; K+Q v K+B: only the side ahead is tested.
  for (const char* placement : {"4k3/8/8/8/8/8/8/2NNK3", "4k3/8/8/8/8/8/8/3QKb2"}) {
    std::tie(white, black) = ScoreBothSides(pos, placement);
    EXPECT_TRUE(white > 0 && black == -white) << placement << ": " << white << ", " << black;
  }
}

TEST(Evaluation, WholePositionsWorkedByHand) {
  Engine engine;
  Position& pos = engine.game;
  // 11 units: king table 4, pawn table 4, rook table 2. Kings on g1 and g8 read -19 each; the pawns f2-h2 and f7-h7
  // are 100 each and cancel. Rook d1: 500 + 1, attacks a1..c1, e1..g1 and d2..d8 (13), g1 is its own king:
  // mobility 12, 2 x 12 - 14 = 10; an open file 8 + 12. Imbalance: a major piece up with no queens, 100. No king
  // danger with 5 units.
  EXPECT_EQ(ScoreBothSides(pos, "6k1/5ppp/8/8/8/8/5PPP/3R2K1"), std::make_pair(631, -631));

  // 18 units: king table 3 (g1 and g8 both -6), pawn table 3, piece tables 2.
  // Pawns: h2 100, isolated -16 (h7 ahead) = 84; f7 -100, passed on its 7th rank -16 = -116; g7 and h7 -100 each:
  // -232 in all. Rook d8: 500 + 1, attacks a8..c8, e8..g8, d7..d4 (10), own d4 and g8: mobility 8, 2 x 8 - 14 = 2;
  // open file 20: -523. Queen d4: 950 + 7 (e5 from white's side), attacks 26 squares, own d8 and g7: mobility 24,
  // 24 - 13 = 11: -968. Tropism: 3 squares from g1 (4) and it attacks f2 beside the king (1): attack weight 5, worth
  // 15. Shelter would be 12 for the h2 pawn and the danger index 5 (factor 2), but with less than 36 units neither
  // counts: the factor stays 1. Imbalance: two majors down against a queen with 14 units behind it: -60.
  // (White is in check: only white can be to move.)
  Load(pos, "3r2k1/5ppp/8/8/3q4/8/7P/6K1 w - -");
  EXPECT_EQ(Score(pos), -232 - 523 - 968 - 15 - 60);
}

// A position and its twin with the colours exchanged score the same for the side to move, and their pawns the same for
// their own side, wherever the rules treat the colours alike (mirroring the ranks keeps the king tables' readings only
// where they are symmetric between ranks, the piece tables' where symmetric between files). The last has the most
// material a game can reach, 206 units: every material from 71 to the most a byte holds reads the opening tables (those
// under 71 are pinned by the score digest below, whose games cross every band edge).
TEST(Evaluation, ColourFlippedTwinsScoreTheSame) {
  Engine engine;
  Position& pos = engine.game;
  for (const char* fen :
       {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
        "r2q1rk1/pp2ppbp/2np1np1/8/3NP3/2N1B3/PPPQ1PPP/R3K2R w KQ -", "2r3k1/pp3ppp/2n5/3p4/3P4/2N5/PP3PPP/2R3K1 b - -",
        "3r2k1/5ppp/8/8/3q4/8/7P/6K1 w - -", "8/5pk1/6p1/1p5p/1P3P1P/6P1/6K1/8 w - -",
        "r3k2r/1pp2ppp/p1n5/4p3/4P3/P1N5/1PP2PPP/R3K2R w KQkq -", "8/2p5/1p1p4/8/1P1P4/8/5k1K/8 w - -",
        "rnbqkbnr/pp3ppp/4p3/2pp4/3P4/4PN2/PPP2PPP/RNBQKB1R w KQkq -", "4k3/1P6/P7/8/8/8/8/4K3 w - -",
        "4k3/3p4/8/8/8/8/P2P4/4K3 w - -", "1r4k1/R4ppp/8/8/8/8/5PPP/6K1 b - -",
        "qqqqqqqk/nnbbrrqq/8/8/8/8/QQRRBBNN/KQQQQQQQ b - -"}) {
    Load(pos, fen);
    const int score = Score(pos), pawns = PawnStructureScore(pos);
    Load(pos, MirroredFen(fen));
    EXPECT_EQ(std::pair(Score(pos), PawnStructureScore(pos)), std::pair(score, -pawns)) << fen;
  }
  for (const auto& tables : PstByMaterial) {
    for (int material = 0; material < TOTAL_MATERIAL_LIMIT; ++material) {
      ASSERT_TRUE(tables[material] && (material <= 71 || tables[material] == tables[71])) << material;
    }
  }
}

constexpr int TREE_DEPTH = 3;  // 178,252 positions

// FNV-1a over the bytes of the scores (low byte first) in the order they come.
struct ScoreDigest {
  static constexpr u64 FNV_PRIME = 0x100000001b3;
  u64 hash = 0xcbf29ce484222325;
  int count = 0;

  void Add(i16 score) {
    for (int byte : {score & 0xFF, static_cast<u16>(score) >> 8}) hash = (hash ^ static_cast<u64>(byte)) * FNV_PRIME;
    ++count;
  }
};

// Every position of every game, evaluated with the pawn cache as the game before it left it. Each move must be legal
// where it is played; the games that end in mate are counted.
static void AddGamePositions(Engine& engine, ScoreDigest& evaluations, int& mates) {
  Position& pos = engine.game;
  const std::string games = ReadTestData("selfplay-300.pgn");
  std::FILE* file = fmemopen(const_cast<char*>(games.data()), games.size(), "rb");
  ASSERT_NE(file, nullptr);
  PgnInput in(file);
  static GameRecord game;
  // The reader takes its moves back: each game is read and played from the start.
  while (LoadPosition(engine, INITIAL_POSITION) && ReadPgnGame(pos, game, in)) {
    evaluations.Add(Evaluate(pos, -WINDOW, WINDOW));
    for (int ply = 0; ply < PlyCountOf(game.header); ++ply) {
      ASSERT_TRUE(IsLegalMove(pos, game.moves[ply]) && PlayGameMove(engine, game.moves[ply])) << evaluations.count;
      evaluations.Add(Evaluate(pos, -WINDOW, WINDOW));
    }
    mates += IsCheckmate(pos);
  }
  std::fclose(file);
}

// Every position of the legal move trees below the perft positions, and the exchange score of every move generated in
// each but the last, captures or not: the evaluator rates safe squares, trades and king captures alike.
TEST(ScoreDigest, EvaluationAndExchangeScoresOfManyPositionsAreUnchanged) {
  Engine engine;
  Position& pos = engine.game;
  InitBoardTables();
  ScoreDigest games, trees, exchanges;
  int mates = 0;
  AddGamePositions(engine, games, mates);
  EXPECT_EQ(std::pair(mates, Count(ReadTestData("selfplay-300.pgn"), " mates}")), std::pair(28, 28));
  std::vector<KnownCounts> perft = ReadPerftFile();
  ASSERT_EQ(perft.size(), 8u);
  for (const KnownCounts& known : perft) {
    Load(pos, known.fen);
    WalkTree(pos, TREE_DEPTH, [&](int depth) {
      trees.Add(Evaluate(pos, -WINDOW, WINDOW));
      const u64 rookQueens = RooksAndQueens(pos), bishopQueens = BishopsAndQueens(pos);
      for (const MoveEntry& entry : depth > 0 ? Generate(pos, Generator::AsSearched) : std::vector<MoveEntry>{}) {
        const int from = MoveFrom(entry.move), to = MoveTo(entry.move);
        exchanges.Add(ExchangeScore(pos, pos.Board[from], from, to, rookQueens, bishopQueens));
      }
    });
  }

  // Recorded before any tuning for speed. A deliberate change of a rule, a table or the order in which the generators
  // write their moves (the digests follow it) changes them: the failure prints the new ones.
  EXPECT_EQ(std::pair(games.count, games.hash), std::pair(35373, 0xf52fd752e591638bu));
  EXPECT_EQ(std::pair(trees.count, trees.hash), std::pair(178252, 0x68057ecef023e5f3u));
  EXPECT_EQ(std::pair(exchanges.count, exchanges.hash), std::pair(179765, 0xe0100b81177272a8u));
}
