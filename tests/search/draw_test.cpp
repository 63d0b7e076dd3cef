// Draws read off the history laid out by hand or played, and passes (null moves).
#include "search/draw.h"

#include <cstring>

#include "search/null_move.h"
#include "search_probe.h"

TEST(DrawCheck, OnHistoriesLaidOutByHand) {
  Position pos;
  // The positions since the load as letters, the last one current, and the fifty count of each (one number: the first
  // count, one more a move).
  struct Case { const char* keys; std::vector<u16> fifty; int repeats; bool loneKnight; Move draw; };
  const Case cases[] = {
      {"abcdabcda", {92}, 2, true, GAME_NO_MATERIAL},  // material first, then the fifty count
      {"abcdabcda", {92}, 2, false, GAME_FIFTY_MOVES},
      {"abcdefe", {0}, 1, false, 0}, {"abcdefb", {0}, 1, false, 0},  // two back: too soon; five: the other side
      {"abcda", {0, 1, 2, 3, 0}, 1, false, 0},          // fewer than four half-moves since a capture
      {"abcdefa", {4, 5, 0, 1, 2, 3, 4}, 1, false, 0},  // the walk stops at the capture
      {"abcdefa", {4}, 1, false, GAME_REPETITION},
      // Counts reaching further back than the history holds, its bottom dropped in a long game.
      {"abcda", {40}, 1, false, GAME_REPETITION}, {"bcdea", {40}, 1, false, 0},
      {"aba", {58}, 1, false, 0}, {"a", {90}, 1, false, 0},
  };
  for (const Case& c : cases) {
    const size_t length = std::strlen(c.keys);
    for (size_t i = 0; i < length; ++i) {
      const auto fifty = static_cast<u16>(c.fifty.size() == 1 ? c.fifty[0] + i : c.fifty[i]);
      pos.History[i] = {0x9e3779b97f4a7c15ull * static_cast<u64>(c.keys[i]), NO_MOVE, fifty};
    }
    pos.HistoryTop = pos.History + length - 1;
    pos.HashKey = pos.HistoryTop->key;
    std::tie(pos.TotalMaterial, pos.PawnCount[WHITE], pos.PawnCount[BLACK]) =
        c.loneKnight ? std::tuple<u8, u8, u8>(3, 0, 0) : std::tuple<u8, u8, u8>(78, 8, 8);
    EXPECT_EQ(DrawCheck(pos, c.repeats), c.draw) << c.keys << " from " << c.fifty[0] << ", repeats " << c.repeats;
  }
}

TEST(RepetitionAfterMove, KnightsGoingOutAndBack) {
  Position pos;
  constexpr Move BACK = MakeMoveCode(F6, G8, KIND_QUIET), ASIDE = MakeMoveCode(F6, H5, KIND_QUIET);
  Load(pos, INITIAL_POSITION);
  Line line(pos);
  line.Play("g1f3 g8f6 f3g1");
  const PositionSnapshot before = TakePositionSnapshot(pos);
  const HistoryEntry above = pos.HistoryTop[1];
  EXPECT_EQ(std::pair(RepetitionAfterMove(pos, BACK), RepetitionAfterMove(pos, ASIDE)), std::pair(1, 0));  // the start
  for (Move never : {MakeMoveCode(F6, G8, KIND_CAPTURE), MakeMoveCode(E7, E6, KIND_QUIET), BLACK_SHORT_CASTLE}) {
    EXPECT_EQ(RepetitionAfterMove(pos, never), 0) << never;  // a capture, a pawn move, castling
  }
  // Late in the fifty count a quiet move is taken to repeat without looking: from 76 half-moves after it once,
  // from 100 on twice; below 4, never.
  for (auto [fifty, repeats] : {std::pair{74, 0}, {75, 1}, {98, 1}, {99, 2}, {2, 0}}) {
    pos.HistoryTop->fifty = static_cast<u16>(fifty);
    EXPECT_EQ(RepetitionAfterMove(pos, fifty == 2 ? BACK : ASIDE), repeats) << fifty;
  }
  pos.HistoryTop->fifty = 3;
  EXPECT_EQ(TakePositionSnapshot(pos), before);
  EXPECT_EQ(std::memcmp(&pos.HistoryTop[1], &above, sizeof above), 0) << "nothing is written above the top";
  line.Play("f6g8 g1f3 g8f6 f3g1");
  EXPECT_EQ(RepetitionAfterMove(pos, BACK), 2);
  line.Play("f6g8");
  EXPECT_EQ(DrawCheck(pos, ROOT_REPEATS), GAME_REPETITION);  // the start, for the third time
  line.Play("g1f3 g8f6 f3g1");
  EXPECT_EQ(RepetitionAfterMove(pos, BACK), 2);  // counted up to two
  line.TakeBack(4);
  EXPECT_EQ(std::pair(DrawCheck(pos, ROOT_REPEATS), DrawCheck(pos, TREE_REPEATS)),
            std::pair(Move{0}, Move{GAME_REPETITION}));
}

TEST(NullMove, PassesTheMoveAndComesBackExactly) {
  Position pos;
  Load(pos, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");  // a loaded key holds the pieces alone
  const auto piecesOnly = std::tuple(pos.HashKey, pos.PawnHashKey, pos.EnPassantSquare, pos.SideToMove);
  Load(pos, INITIAL_POSITION);
  Line line(pos);
  line.Play("e2e4");
  const PositionSnapshot before = TakePositionSnapshot(pos);
  UndoRecord passes[2]{};
  MakeNullMove(pos, passes[0]);
  EXPECT_EQ(std::tuple(pos.HashKey, pos.PawnHashKey, pos.EnPassantSquare, pos.SideToMove), piecesOnly);
  // The pass is in the history like a move: its marker below, a new entry on top.
  EXPECT_EQ(std::tuple(pos.History[1].move, pos.HistoryTop - pos.History, pos.HistoryTop->key, pos.HistoryTop->fifty),
            std::tuple(MOVE_NULL, 2, pos.HashKey, 1));
  line.Play("g1f3");  // moves made after a pass unwind to the same position
  MakeNullMove(pos, passes[1]);
  line.Play("f3g1");
  line.TakeBack();
  UnmakeNullMove(pos, passes[1]);
  line.TakeBack();
  UnmakeNullMove(pos, passes[0]);
  EXPECT_EQ(TakePositionSnapshot(pos), before);
  line.TakeBack();
  // An en-passant square read with the position has no key to take away.
  Load(pos, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  const PositionSnapshot loaded = TakePositionSnapshot(pos);
  MakeNullMove(pos, passes[0]);
  EXPECT_EQ(std::tuple(pos.HashKey, pos.EnPassantSquare), std::tuple(std::get<0>(piecesOnly), 0));
  UnmakeNullMove(pos, passes[0]);
  EXPECT_EQ(TakePositionSnapshot(pos), loaded);
}
