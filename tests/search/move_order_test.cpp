// The square-table gain by which the modern search may order quiet moves of
// equal history: the same for a move of either side and its twin of the other.
#include "search/move_order.h"

#include <gtest/gtest.h>

#include <cctype>
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
