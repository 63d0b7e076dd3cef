// The square-table gain by which the modern search may order quiet moves of
// equal history: the same for a move of either side and its twin of the other.
#include "search/move_order.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>

#include "board/move_text.h"
#include "support/move_probe.h"

namespace {

// Positions with white to move; each is checked against itself turned half
// round with the colours swapped, as the evaluation sees black's squares.
constexpr const char* POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - -",
    "r3k2r/ppp2ppp/2n5/3qp3/8/2N2N2/PPP2PPP/R2QK2R w KQkq -",
    "8/5pk1/6p1/3n4/2B5/5PK1/6P1/8 w - -",
};

// The board of a position without castling rights turned half round, colours
// swapped, black to move.
std::string TurnedRound(const std::string& fen) {
  const std::string board = fen.substr(0, fen.find(' '));
  std::string turned(board.rbegin(), board.rend());
  for (char& c : turned) c = static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c));
  return turned + " b - -";
}

// The move that mirrors move on the board turned round.
std::string TurnedRoundMove(const std::string& move) {
  std::string text = move;
  for (size_t i : {0, 2}) text[i] = static_cast<char>('a' + 'h' - text[i]);
  for (size_t i : {1, 3}) text[i] = static_cast<char>('1' + '8' - text[i]);
  return text;
}

}  // namespace

TEST(MoveOrderTest, SquareGainOfAMoveEqualsTheGainOfItsTwinOnTheBoardTurnedRound) {
  for (const char* fen : {POSITIONS[0], POSITIONS[2]}) {
    Position white{}, black{};
    Load(white, fen);
    Load(black, TurnedRound(fen));
    const std::vector<Move> moves = LegalMoves(white);
    ASSERT_EQ(moves.size(), LegalMoves(black).size()) << fen;
    for (Move move : moves) {
      const Move mirror = LegalMoveNamed(black, TurnedRoundMove(MoveText(move)));
      ASSERT_NE(mirror, NO_MOVE) << MoveText(move);
      EXPECT_EQ(QuietMoveSquareGain(white, move), QuietMoveSquareGain(black, mirror)) << MoveText(move);
    }
  }
}

TEST(MoveOrderTest, SquareGainFavoursTheCentreAndLeavesCapturesAndCastlingAlone) {
  Position pos{};
  Load(pos, POSITIONS[1]);
  EXPECT_GT(QuietMoveSquareGain(pos, LegalMoveNamed(pos, "c3e4")), QuietMoveSquareGain(pos, LegalMoveNamed(pos, "c3a4")));
  EXPECT_GT(QuietMoveSquareGain(pos, LegalMoveNamed(pos, "f3g5")), QuietMoveSquareGain(pos, LegalMoveNamed(pos, "f3h4")));
  EXPECT_EQ(QuietMoveSquareGain(pos, LegalMoveNamed(pos, "c3d5")), 0);  // a capture
  EXPECT_EQ(QuietMoveSquareGain(pos, LegalMoveNamed(pos, "e1g1")), 0);  // castling
}

namespace {

// The counters of the row of the move before, for moves named in the position.
std::vector<i16> Counters(Searcher& s, Position& pos, std::initializer_list<const char*> names) {
  std::vector<i16> counters;
  for (const char* name : names) counters.push_back((*ContinuationRowOf(s, pos))[ContinuationSlot(pos, LegalMoveNamed(pos, name))]);
  return counters;
}

}  // namespace

TEST(MoveOrderTest, ContinuationHistoryRewardsTheCutoffAfterTheMoveBeforeItWithinItsBound) {
  const auto s = std::make_unique<Searcher>();
  Position pos{};
  Load(pos, "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
  EXPECT_EQ(ContinuationRowOf(*s, pos), nullptr);  // no move before the position loaded

  Load(pos, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -");
  WithMoveMade(pos, LegalMoveNamed(pos, "d7d5"), [&] {
    std::vector<MoveEntry> tried;
    for (const char* name : {"e4d5", "g1f3", "b1c3", "d2d4"}) tried.push_back({0, LegalMoveNamed(pos, name)});
    for (int i = 0; i < 200; ++i) UpdateContinuationHistory(*s, pos, &tried[0], &tried[3], 40);
    const std::vector<i16> counters = Counters(*s, pos, {"e4d5", "g1f3", "b1c3", "d2d4"});
    EXPECT_EQ(counters[0], 0);  // a capture keeps no continuation history
    for (i16 quiet : {counters[1], counters[2]}) EXPECT_TRUE(quiet < -HISTORY_LIMIT * 9 / 10 && quiet >= -HISTORY_LIMIT) << quiet;
    EXPECT_TRUE(counters[3] > HISTORY_LIMIT * 9 / 10 && counters[3] <= HISTORY_LIMIT) << counters[3];
  });
  WithMoveMade(pos, LegalMoveNamed(pos, "e7e5"), [&] {
    EXPECT_EQ(Counters(*s, pos, {"g1f3", "d2d4"}), std::vector<i16>({0, 0}));  // another move before: another row
  });
}
