// Digests of the evaluation and of the exchange evaluator over many real positions: both are tuned for speed, and a
// faster version must give every single score exactly as before.
#include "board/move_validity.h"
#include "engine/game.h"
#include "eval/evaluate.h"
#include "movegen/exchange.h"
#include "movegen/movegen_probe.h"  // Load, ReadPerftFile
#include "movegen/side_constants.h"
#include "support/engine_process.h"
#include "tools/pgn_reader.h"

constexpr i16 WINDOW = 8190;
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
static void AddGamePositions(ScoreDigest& evaluations, int& mates) {
  const std::string games = ReadTestData("selfplay-300.pgn");
  std::FILE* file = fmemopen(const_cast<char*>(games.data()), games.size(), "rb");
  ASSERT_NE(file, nullptr);
  PgnInput in(file);
  static GameRecord game;
  // The reader takes its moves back: each game is read and played from the start.
  while (LoadPosition(INITIAL_POSITION) && ReadPgnGame(game, in)) {
    evaluations.Add(Evaluate(-WINDOW, WINDOW));
    for (int ply = 0; ply < PlyCountOf(game.header); ++ply) {
      ASSERT_TRUE(IsLegalMove(game.moves[ply]) && PlayGameMove(game.moves[ply])) << evaluations.count;
      evaluations.Add(Evaluate(-WINDOW, WINDOW));
    }
    mates += IsCheckmate();
  }
  std::fclose(file);
}

// Every position of the legal move trees below the perft positions, and the exchange score of every move generated in
// each but the last, captures or not: the evaluator rates safe squares, trades and king captures alike.
TEST(ScoreDigest, EvaluationAndExchangeScoresOfManyPositionsAreUnchanged) {
  InitBoardTables();
  ScoreDigest games, trees, exchanges;
  int mates = 0;
  AddGamePositions(games, mates);
  EXPECT_EQ(std::pair(mates, Count(ReadTestData("selfplay-300.pgn"), " mates}")), std::pair(28, 28));
  std::vector<KnownCounts> perft = ReadPerftFile();
  ASSERT_EQ(perft.size(), 8u);
  for (const KnownCounts& known : perft) {
    Load(known.fen);
    WalkTree(TREE_DEPTH, [&](int depth) {
      trees.Add(Evaluate(-WINDOW, WINDOW));
      const u64 rookQueens = RooksAndQueens(), bishopQueens = BishopsAndQueens();
      for (const MoveEntry& entry : depth > 0 ? Generate(Generator::AsSearched) : std::vector<MoveEntry>{}) {
        const int from = MoveFrom(entry.move), to = MoveTo(entry.move);
        exchanges.Add(ExchangeScore(Board[from], from, to, rookQueens, bishopQueens));
      }
    });
  }

  // Recorded before any tuning for speed. A deliberate change of a rule, a table or the order in which the generators
  // write their moves (the digests follow it) changes them: the failure prints the new ones.
  EXPECT_EQ(std::pair(games.count, games.hash), std::pair(35373, 0xf52fd752e591638bu));
  EXPECT_EQ(std::pair(trees.count, trees.hash), std::pair(178252, 0x68057ecef023e5f3u));
  EXPECT_EQ(std::pair(exchanges.count, exchanges.hash), std::pair(179765, 0xe0100b81177272a8u));
}
