// Digests of the evaluation and of the exchange evaluator over many real
// positions: every position of the three hundred self-play games, and every
// position of the move trees three plies deep from the perft positions. Both
// routines are tuned for speed; a faster version must give every single score
// exactly as before, and one changed score changes its digest.
#include <cstdio>

#include "driver/game_move.h"
#include "eval/evaluate.h"
#include "movegen/exchange.h"
#include "movegen/movegen_probe.h"  // Load, ReadPerftFile
#include "movegen/side_constants.h"
#include "tools/pgn_reader.h"

namespace {

constexpr i16 WINDOW = 8190;
constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
constexpr int TREE_DEPTH = 3;

// FNV-1a over the scores in the order they come.
struct ScoreDigest {
  static constexpr u64 FNV_PRIME = 0x100000001b3;
  u64 hash = 0xcbf29ce484222325;
  int count = 0;

  void Add(i16 score) {
    const u16 bits = static_cast<u16>(score);
    hash = (hash ^ (bits & 0xFF)) * FNV_PRIME;
    hash = (hash ^ (bits >> 8)) * FNV_PRIME;
    ++count;
  }
};

struct Digests {
  ScoreDigest evaluations, exchanges;
};

// Every position of the legal move tree below the present one, depth plies
// deep, and the exchange score of every generated move, captures or not: the
// evaluator rates safe squares, trades and king captures alike.
void WalkTree(int depth, UndoRecord* record, MoveEntry* list, Digests& digests) {
  digests.evaluations.Add(Evaluate(-WINDOW, WINDOW));
  if (depth == 0) return;
  FindCheckers(*record);
  MoveEntry* end = record->checkers ? GenerateEvasions[SideToMove](list, *record) : GenerateAll[SideToMove](list);
  const u64 rookQueens = RooksAndQueens(), bishopQueens = BishopsAndQueens();
  for (const MoveEntry* entry = list; entry < end; ++entry) {
    const int from = MoveFrom(entry->move), to = MoveTo(entry->move);
    digests.exchanges.Add(ExchangeScore(Board[from], from, to, rookQueens, bishopQueens));
  }
  SavePositionForUndo(*record);
  const int mover = static_cast<int>(SideToMove);
  for (MoveEntry* entry = list; entry < end; ++entry) {
    MakeMove(entry->move, *record);
    if (!KingLeftInCheck(entry->move, mover)) WalkTree(depth - 1, record + 1, end, digests);
    UnmakeMove(entry->move, *record);
  }
}

// Every position of every game, evaluated with the pawn cache as the game
// before it left it.
void AddGamePositions(Digests& digests) {
  std::FILE* file = std::fopen(TAVREL_SHARED_DIR "/pgn/selfplay-300.pgn", "rb");
  ASSERT_NE(file, nullptr);
  PgnInput in(file);
  static GameRecord game;
  // The reader takes its moves back: each game is read and played from the start.
  while (LoadPosition(START_FEN) && ReadPgnGame(game, in)) {
    digests.evaluations.Add(Evaluate(-WINDOW, WINDOW));
    for (int ply = 0; ply < PlyCountOf(game.header); ++ply) {
      ASSERT_TRUE(PlayGameMove(game.moves[ply]));
      digests.evaluations.Add(Evaluate(-WINDOW, WINDOW));
    }
  }
  std::fclose(file);
}

TEST(ScoreDigest, EvaluationAndExchangeScoresOfManyPositionsAreUnchanged) {
  InitBoardTables();
  Digests games, trees;
  AddGamePositions(games);
  std::vector<KnownCounts> perft = ReadPerftFile();
  ASSERT_EQ(perft.size(), 8u);
  for (const KnownCounts& known : perft) {
    Load(known.fen);
    WalkTree(TREE_DEPTH, &UndoRecords[1], MoveStack, trees);
  }

  // Recorded from the evaluation and exchange evaluator as they were first
  // written, before any tuning for speed. A deliberate change of a rule or a
  // table, or of the order in which the generators write their moves (the
  // digests follow that order), changes them: the failure prints the new ones.
  EXPECT_EQ(games.evaluations.count, 35373);
  EXPECT_EQ(games.evaluations.hash, 0xf52fd752e591638bu);
  EXPECT_EQ(trees.evaluations.count, 178252);
  EXPECT_EQ(trees.evaluations.hash, 0x68057ecef023e5f3u);
  EXPECT_EQ(trees.exchanges.count, 179765);
  EXPECT_EQ(trees.exchanges.hash, 0xe0100b81177272a8u);
}

}  // namespace
