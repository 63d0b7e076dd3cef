#include "search/draw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "board/position.h"
#include "board/zobrist.h"
#include "line_player.h"

namespace {

constexpr u64 P0 = 0x1d6e3f5a0c2b4978ull;
constexpr u64 P1 = 0x2a71c4e3b5d60f18ull;
constexpr u64 P2 = 0x3f08a2b7c91e6d54ull;
constexpr u64 P3 = 0x4c93e1d07a6f25b2ull;
constexpr u64 P4 = 0x5b2f7d418e03c6a9ull;
constexpr u64 P5 = 0x6e4a09c3d71b58f7ull;

struct Position {
  u64 key;
  u16 fifty;
};

// Lays out History by hand: the positions since the load, the last one current.
class HistoryTest : public testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

  static void Reset() {
    std::memset(History, 0, sizeof History);
    std::memset(Board, 0, sizeof Board);
    HistoryTop = History;
    HashKey = 0;
    TotalMaterial = 78;
    PawnCount[WHITE] = PawnCount[BLACK] = 8;
  }
  static void Lay(const std::vector<Position>& positions) {
    for (size_t i = 0; i < positions.size(); ++i) {
      History[i] = {positions[i].key, NO_MOVE, positions[i].fifty};
    }
    HistoryTop = History + positions.size() - 1;
    HashKey = HistoryTop->key;
  }
  // The same keys, the fifty count rising from start.
  static void LayQuietMoves(const std::vector<u64>& keys, u16 start = 0) {
    std::vector<Position> positions;
    for (u64 key : keys) positions.push_back({key, start++});
    Lay(positions);
  }
  static void SetMaterial(int total, int whitePawns, int blackPawns) {
    TotalMaterial = static_cast<u8>(total);
    PawnCount[WHITE] = static_cast<u8>(whitePawns);
    PawnCount[BLACK] = static_cast<u8>(blackPawns);
  }
};

using DrawCheckTest = HistoryTest;

TEST_F(DrawCheckTest, MaterialTooSmallToMateIsTestedFirst) {
  LayQuietMoves({P0, P1, P2, P3, P0, P1, P2, P3, P0}, 92);  // fifty 100, repeated twice
  SetMaterial(3, 0, 0);  // K+N v K
  EXPECT_EQ(DrawCheck(2), GAME_NO_MATERIAL);
  SetMaterial(1, 0, 1);  // K v K+P
  EXPECT_EQ(DrawCheck(2), GAME_FIFTY_MOVES);
}

TEST_F(DrawCheckTest, FiftyMoveRuleDrawsAtTheHundredthHalfMove) {
  std::vector<u64> keys;
  for (u64 i = 0; i <= 100; ++i) keys.push_back(P5 + i * 0x9e3779b97f4a7c15ull);
  LayQuietMoves(keys);
  EXPECT_EQ(DrawCheck(1), GAME_FIFTY_MOVES);
  HistoryTop = History + 99;
  HashKey = HistoryTop->key;
  EXPECT_EQ(DrawCheck(1), 0);
}

TEST_F(DrawCheckTest, RepetitionNeedsTheAskedNumberOfEarlierOccurrences) {
  LayQuietMoves({P0, P1, P2, P3, P0});
  EXPECT_EQ(DrawCheck(1), GAME_REPETITION);
  EXPECT_EQ(DrawCheck(2), 0);
  LayQuietMoves({P0, P1, P2, P3, P0, P1, P2, P3, P0});
  EXPECT_EQ(DrawCheck(2), GAME_REPETITION);
  EXPECT_EQ(DrawCheck(3), 0);
}

TEST_F(DrawCheckTest, OnlyPositionsWithTheSameSideToMoveCount) {
  LayQuietMoves({P0, P1, P2, P3, P4, P5, P4});  // the key 2 back: too soon to count
  EXPECT_EQ(DrawCheck(1), 0);
  LayQuietMoves({P0, P1, P2, P3, P4, P5, P1});  // 5 back: the other side was to move
  EXPECT_EQ(DrawCheck(1), 0);
}

TEST_F(DrawCheckTest, FewerThanFourHalfMovesSinceACaptureNeverRepeat) {
  Lay({{P0, 0}, {P1, 1}, {P2, 2}, {P3, 3}, {P0, 0}});
  EXPECT_EQ(DrawCheck(1), 0);
  Lay({{P0, 0}, {P1, 1}, {P2, 2}, {P0, 3}});
  EXPECT_EQ(DrawCheck(1), 0);
}

TEST_F(DrawCheckTest, WalkStopsAtTheLastIrreversibleMove) {
  // The same keys, once with a capture between the two P0s and once without.
  Lay({{P0, 4}, {P1, 5}, {P2, 0}, {P3, 1}, {P4, 2}, {P5, 3}, {P0, 4}});
  EXPECT_EQ(DrawCheck(1), 0);
  Lay({{P0, 4}, {P1, 5}, {P2, 6}, {P3, 7}, {P4, 8}, {P5, 9}, {P0, 10}});
  EXPECT_EQ(DrawCheck(1), GAME_REPETITION);
}

TEST_F(DrawCheckTest, WalkNeverReadsBeforeTheStartOfHistory) {
  // Counts that reach further back than the stack holds, as when the bottom of
  // a long game's history has been dropped.
  Lay({{P0, 40}, {P1, 41}, {P2, 42}, {P3, 43}, {P0, 44}});
  EXPECT_EQ(DrawCheck(1), GAME_REPETITION);
  Lay({{P1, 40}, {P2, 41}, {P3, 42}, {P4, 43}, {P0, 44}});
  EXPECT_EQ(DrawCheck(1), 0);
  Lay({{P0, 58}, {P1, 59}, {P0, 60}});
  EXPECT_EQ(DrawCheck(1), 0);
  Lay({{P0, 90}});
  EXPECT_EQ(DrawCheck(1), 0);
}

// A white knight g1-f3, black g8-f6, white f3-g1: black to move can bring back
// the first position with f6-g8.
class RepetitionAfterMoveTest : public HistoryTest {
 protected:
  static constexpr u64 START = P0;
  static inline const u64 WHITE_OUT = START ^ ZobristKeys[WHITE_KNIGHT][G1] ^ ZobristKeys[WHITE_KNIGHT][F3];
  static inline const u64 BOTH_OUT = WHITE_OUT ^ ZobristKeys[BLACK_KNIGHT][G8] ^ ZobristKeys[BLACK_KNIGHT][F6];
  static inline const u64 BLACK_OUT = BOTH_OUT ^ ZobristKeys[WHITE_KNIGHT][F3] ^ ZobristKeys[WHITE_KNIGHT][G1];

  void SetUp() override {
    HistoryTest::SetUp();
    Board[G1] = WHITE_KNIGHT;
    Board[F6] = BLACK_KNIGHT;
    Board[E7] = BLACK_PAWN;
    SideToMove = BLACK;
  }
  static void LayRounds(int rounds, u16 start = 0) {
    std::vector<u64> keys;
    for (int i = 0; i < rounds; ++i) keys.insert(keys.end(), {START, WHITE_OUT, BOTH_OUT, BLACK_OUT});
    LayQuietMoves(keys, start);
  }
  static constexpr Move BACK = MakeMoveCode(F6, G8, KIND_QUIET);
  static constexpr Move ASIDE = MakeMoveCode(F6, H5, KIND_QUIET);
};

TEST_F(RepetitionAfterMoveTest, CountsEarlierOccurrencesUpToTwo) {
  LayRounds(1);
  EXPECT_EQ(RepetitionAfterMove(BACK), 1);
  EXPECT_EQ(RepetitionAfterMove(ASIDE), 0);
  LayRounds(2);
  EXPECT_EQ(RepetitionAfterMove(BACK), 2);
  LayRounds(3);
  EXPECT_EQ(RepetitionAfterMove(BACK), 2);
}

TEST_F(RepetitionAfterMoveTest, LeavesTheHistoryAsItWas) {
  LayRounds(1);
  const HistoryEntry sentinel{0xfeedfacecafebeefull, 0x1234, 0x4321};
  HistoryTop[1] = sentinel;
  HistoryEntry* top = HistoryTop;
  EXPECT_EQ(RepetitionAfterMove(BACK), 1);
  EXPECT_EQ(HistoryTop, top);
  EXPECT_EQ(HashKey, BLACK_OUT);
  EXPECT_EQ(HistoryTop[1].key, sentinel.key);
  EXPECT_EQ(HistoryTop[1].fifty, sentinel.fifty);
}

TEST_F(RepetitionAfterMoveTest, IrreversibleMovesNeverRepeat) {
  LayRounds(2);
  EXPECT_EQ(RepetitionAfterMove(MakeMoveCode(F6, G8, KIND_CAPTURE)), 0);
  EXPECT_EQ(RepetitionAfterMove(MakeMoveCode(E7, E6, KIND_QUIET)), 0);  // pawn
  EXPECT_EQ(RepetitionAfterMove(MakeMoveCode(D4, G8, KIND_QUIET)), 0);  // nothing on d4
  EXPECT_EQ(RepetitionAfterMove(BLACK_SHORT_CASTLE), 0);
  EXPECT_EQ(RepetitionAfterMove(GAME_MATED), 0);
  EXPECT_EQ(RepetitionAfterMove(NO_MOVE), 0);  // a8 is empty
}

TEST_F(RepetitionAfterMoveTest, TheFiftyCountDecidesAtItsEnds) {
  Lay({{START, 0}, {WHITE_OUT, 1}, {BOTH_OUT, 0}, {BLACK_OUT, 1}});  // a capture came between
  EXPECT_EQ(RepetitionAfterMove(BACK), 0);
  Lay({{START, 1}, {WHITE_OUT, 2}});
  EXPECT_EQ(RepetitionAfterMove(BACK), 0);

  // Late in the fifty count a quiet move is taken to repeat without looking:
  // from 76 half-moves after it once, from 100 on twice. (The count after the
  // move is the round's start + 4.)
  LayRounds(1, 72);
  EXPECT_EQ(RepetitionAfterMove(ASIDE), 1);
  LayRounds(1, 95);
  EXPECT_EQ(RepetitionAfterMove(ASIDE), 1);
  LayRounds(1, 96);
  EXPECT_EQ(RepetitionAfterMove(ASIDE), 2);
  LayRounds(1, 71);  // 75: the keys are compared, as far back as History goes
  EXPECT_EQ(RepetitionAfterMove(ASIDE), 0);
  EXPECT_EQ(RepetitionAfterMove(BACK), 1);
}

}  // namespace

namespace {

constexpr char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
constexpr Move KNIGHT_HOME = MakeMoveCode(F6, G8, KIND_QUIET);

using PlayedDrawTest = HistoryTest;

TEST_F(PlayedDrawTest, KnightsGoingOutAndBackRepeatTheStart) {
  LinePlayer line;
  LinePlayer::Load(START_FEN);
  for (int round = 1; round <= 2; ++round) {
    line.Play(G1, F3);
    line.Play(G8, F6);
    line.Play(F3, G1);
    EXPECT_EQ(RepetitionAfterMove(KNIGHT_HOME), round);
    EXPECT_EQ(RepetitionAfterMove(MakeMoveCode(F6, H5, KIND_QUIET)), 0);
    line.Play(F6, G8);
  }
  EXPECT_EQ(DrawCheck(2), GAME_REPETITION);  // the start, for the third time
  line.TakeBack();
  EXPECT_EQ(DrawCheck(2), 0);
  EXPECT_EQ(DrawCheck(1), GAME_REPETITION);
}

TEST_F(PlayedDrawTest, ShufflingForFiftyMovesDrawsOnTheHundredthHalfMove) {
  LinePlayer line;
  LinePlayer::Load("8/8/8/4k3/8/8/8/R3K3 w - -");
  for (int round = 0; round < 25; ++round) {
    line.Play(A1, A2);
    line.Play(E5, E6);
    line.Play(A2, A1);
    if (round == 24) {
      EXPECT_EQ(DrawCheck(2), GAME_REPETITION);  // 99 half-moves
    }
    line.Play(E6, E5);
  }
  EXPECT_EQ(HistoryTop->fifty, 100);
  EXPECT_EQ(DrawCheck(2), GAME_FIFTY_MOVES);
}

TEST_F(PlayedDrawTest, LoneMinorPieceCannotMate) {
  LinePlayer::Load("8/8/8/4k3/8/8/8/2N1K3 w - -");
  EXPECT_EQ(DrawCheck(2), GAME_NO_MATERIAL);
  LinePlayer::Load("8/8/8/2b1k3/8/8/8/4K3 b - -");
  EXPECT_EQ(DrawCheck(2), GAME_NO_MATERIAL);
  LinePlayer::Load("4k3/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(DrawCheck(2), GAME_NO_MATERIAL);
  LinePlayer::Load("8/8/8/4k3/8/8/8/1NN1K3 w - -");
  EXPECT_EQ(DrawCheck(2), 0);
  LinePlayer::Load("8/8/8/4k3/8/8/4P3/4K3 w - -");
  EXPECT_EQ(DrawCheck(2), 0);
}

}  // namespace
