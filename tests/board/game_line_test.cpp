// Whole games in coordinate text: every move parsed, found legal and made with
// the keys checked by their rule, the final position compared with one worked
// out by hand, then every move taken back to the start.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "board/move_text.h"
#include "board/move_validity.h"
#include "board/position_text.h"
#include "board_probe.h"

namespace {

class GameLineTest : public BoardTest {
 protected:
  void Play(const char* start, const std::string& moves, const char* expectedEnd) {
    line_.Start(start);
    PositionState before = CaptureState();
    std::istringstream words(moves);
    std::string word;
    while (words >> word) {
      Move move = ParseBoardMove(word.c_str());
      ASSERT_TRUE(IsLegalMove(move)) << word;
      line_.Make(move);
    }
    char text[POSITION_TEXT_SIZE];
    WritePositionText(text);
    EXPECT_STREQ(text, expectedEnd);
    while (line_.Length() > 0) line_.Unmake();
    EXPECT_EQ(Differences(before, CaptureState()), "");
  }

  CheckedLine line_;
};

constexpr const char* INITIAL = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

TEST_F(GameLineTest, WhiteCastlesShortBlackLongWithEnPassantOnTheWay) {
  Play(INITIAL,
       "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 d2d4 e5d4 e4e5 d7d5 e5d6 d8d6 f1e1 c8e6 f3g5 e8c8",
       "2kr3r/ppp2ppp/2nqbn2/2b3N1/2Bp4/8/PPP2PPP/RNBQR1K1 w - -");
}

TEST_F(GameLineTest, WhiteCastlesLongBlackShort) {
  Play(INITIAL, "d2d4 d7d5 b1c3 g8f6 c1f4 e7e6 d1d3 f8e7 e1c1 e8g8",
       "rnbq1rk1/ppp1bppp/4pn2/3p4/3P1B2/2NQ4/PPP1PPPP/2KR1BNR w - -");
}

TEST_F(GameLineTest, PromotionsOnTheCornersAndBlackEnPassant) {
  Play("r2bk2r/1P6/8/8/2p5/8/1p1P4/R3K2R w KQkq -",
       "d2d4 c4d3 b7a8q b2a1n e1g1 d3d2 a8d8 e8d8 f1e1 d2d1q e1d1 d8e7",
       "7r/4k3/8/8/8/8/8/n2R2K1 w - -");
}

TEST_F(GameLineTest, KnightsReturningBringBackTheSameKey) {
  line_.Start(INITIAL);
  u64 start = HashKey;
  for (const char* word : {"g1f3", "g8f6", "f3g1", "f6g8"}) line_.Make(ParseBoardMove(word));
  EXPECT_EQ(HashKey, start);
  EXPECT_EQ(HistoryTop->fifty, 4);
  EXPECT_EQ(History[0].key, HistoryTop->key);
}

}  // namespace
