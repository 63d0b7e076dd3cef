// Moves of the game: the game copy, and a history that never overflows however
// long the game, with the repetition and fifty-move information kept right.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/history_room.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "board/move_validity.h"
#include "driver/game_move.h"

namespace {

class GameMoveTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
  void SetUp() override { ASSERT_TRUE(LoadPosition(INITIAL)); }
  static constexpr const char* INITIAL = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
};

void PlayText(const char* text) {
  Move move = ParseGameMove(text);
  ASSERT_TRUE(IsLegalMove(move)) << text;
  ASSERT_TRUE(PlayGameMove(move));
}

TEST_F(GameMoveTest, NoMoveChangesNothing) {
  HistoryEntry* top = HistoryTop;
  u64 key = HashKey;
  EXPECT_FALSE(PlayGameMove(NO_MOVE));
  EXPECT_EQ(HistoryTop, top);
  EXPECT_EQ(HashKey, key);
  EXPECT_EQ(GameMoveCount, 1);
}

TEST_F(GameMoveTest, TheGameCopyFollowsTheBoard) {
  PlayText("e2e4");
  EXPECT_EQ(GameMoveCount, 2);
  EXPECT_EQ(GameSideToMove, u32{BLACK});
  EXPECT_EQ(SideToMove, u32{BLACK});
  EXPECT_EQ(GameEnPassantSquare, E3);
  EXPECT_EQ(0, std::memcmp(GameBoard, Board, sizeof Board));
  for (const char* move : {"e7e5", "g1f3", "b8c6", "f1c4", "g8f6"}) PlayText(move);
  PlayText("e1g1");
  EXPECT_EQ(GameWhiteKingSquare, G1);
  EXPECT_EQ(GameCastleRights, CASTLE_BLACK_ANY);
  EXPECT_EQ(GameEnPassantSquare, 0);
  EXPECT_EQ(GameBoard[F1], WHITE_ROOK);
  EXPECT_EQ(GameMoveCount, 8);
  EXPECT_EQ(GameSideToMove, u32{BLACK});
}

// How often the current position occurred before, walking back two plies at a
// time from four plies back to the last capture, pawn move or castling; -1
// when the fifty count makes the walk needless (below 4, or 100 and more).
int EarlierOccurrences(const HistoryEntry* top) {
  constexpr int FIFTY_MOVE_DRAW = 100;
  if (top->fifty < 4 || top->fifty >= FIFTY_MOVE_DRAW) return -1;
  int count = 0;
  const HistoryEntry* entry = top - 4;
  for (int n = entry->fifty; n >= 0; n -= 2, entry -= 2) {
    if (entry->key == top->key) ++count;
  }
  return count;
}

// Knights out and home again, with pawn moves between to keep the fifty count
// low, then knights alone until it is far past a hundred: thousands of plies.
std::vector<std::string> LongGame() {
  const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  const char* pawnPairs[][2] = {
      {"a2a3", "a7a6"}, {"a3a4", "a6a5"}, {"b2b3", "b7b6"}, {"b3b4", "b6b5"}, {"c2c3", "c7c6"},
      {"c3c4", "c6c5"}, {"d2d3", "d7d6"}, {"d3d4", "d6d5"}, {"e2e3", "e7e6"}, {"e3e4", "e6e5"},
      {"g2g3", "g7g6"}, {"g3g4", "g6g5"}, {"h2h3", "h7h6"}, {"h3h4", "h6h5"}};
  constexpr int CYCLES_BETWEEN_PAWN_MOVES = 23;  // 92 plies: the fifty count stays below 100
  constexpr int FINAL_CYCLES = 800;
  std::vector<std::string> game;
  for (auto& pair : pawnPairs) {
    for (int cycle = 0; cycle < CYCLES_BETWEEN_PAWN_MOVES; ++cycle) game.insert(game.end(), shuffle, shuffle + 4);
    game.insert(game.end(), pair, pair + 2);
  }
  for (int cycle = 0; cycle < FINAL_CYCLES; ++cycle) game.insert(game.end(), shuffle, shuffle + 4);
  return game;
}

TEST_F(GameMoveTest, ALongGameKeepsItsHistoryWithinBoundsAndRight) {
  std::vector<HistoryEntry> whole{*HistoryTop};  // every entry of the game, never slid
  int slides = 0, repetitionsFoundAfterASlide = 0;
  for (const std::string& text : LongGame()) {
    HistoryEntry* before = HistoryTop;
    whole.back().move = ParseGameMove(text.c_str());
    PlayText(text.c_str());
    whole.push_back({HashKey, 0, HistoryTop->fifty});
    ASSERT_LT(HistoryTop - History, HISTORY_SIZE - SEARCH_LINE_ROOM);
    ASSERT_EQ(HistoryTop->key, HashKey);
    int occurrences = EarlierOccurrences(HistoryTop);
    ASSERT_EQ(occurrences, EarlierOccurrences(&whole.back())) << whole.size();
    if (HistoryTop < before) ++slides;
    if (slides > 0 && occurrences > 0) ++repetitionsFoundAfterASlide;
  }
  EXPECT_GE(slides, 5);
  EXPECT_GT(repetitionsFoundAfterASlide, 100);
  EXPECT_EQ(HistoryTop->fifty, 3200);
  // The entries kept are the last ones of the game (the current entry has no move yet).
  for (int back = 0; back <= HistoryTop - History; ++back) {
    const HistoryEntry& kept = HistoryTop[-back];
    const HistoryEntry& truth = whole[whole.size() - 1 - back];
    ASSERT_EQ(kept.key, truth.key) << back;
    ASSERT_EQ(kept.fifty, truth.fifty) << back;
    if (back > 0) {
      ASSERT_EQ(kept.move, truth.move) << back;
    }
  }
}

}  // namespace
