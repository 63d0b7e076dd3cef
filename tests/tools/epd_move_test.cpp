// The "bm" and "am" operations of EPD lines: read as moves of the position the
// line sets up; an unreadable move fails the load without undoing it.
#include <gtest/gtest.h>

#include <string>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "board/position.h"
#include "support/engine_process.h"

namespace {

// Both queens reach g6: the side to move decides whose move it is.
const std::string QUEENS = "4k3/8/8/8/8/3Q4/K7/6q1";

// Loads the line and checks the answer, what was printed, and the two slots
// (moves in coordinates, "" for none).
void ExpectLoad(const std::string& line, bool loaded, const char* best, const char* avoid,
                const std::string& printed) {
  EpdBestMove = EpdAvoidMove = 0x0123;
  testing::internal::CaptureStdout();
  EXPECT_EQ(LoadPosition(line.c_str()), loaded) << line;
  EXPECT_EQ(testing::internal::GetCapturedStdout(), printed) << line;
  EXPECT_EQ(EpdBestMove, *best ? ParseBoardMove(best) : NO_MOVE) << line;
  EXPECT_EQ(EpdAvoidMove, *avoid ? ParseBoardMove(avoid) : NO_MOVE) << line;
}

TEST(EpdMove, ReadInTheNewPositionForItsSideToMove) {
  InitBoardTables();
  ExpectLoad(QUEENS + " b - - bm Qg6;", true, "g1g6", "", "");
  ExpectLoad(QUEENS + " w - - 0 1 bm Qg6+ Qd8; id \"x\";", true, "d3g6", "", "");
  ExpectLoad(QUEENS + " w - - am Qd3d8;", true, "", "d3d8", "");
  // No terminator, or another operation's letter first: no operation.
  for (const char* rest : {"", " bm Qg6", " acd 10; bm Qg6;", " c0 \"a\"; bm Qg6;"}) {
    ExpectLoad(QUEENS + " w - -" + rest, true, "", "", "");
  }
  ExpectLoad("4k3/8/8/8/8/5N2/8/1N2K3 w - - bm Nd2;", false, "", "", "Warning cannot recognize move: Nd2\r\n");
  EXPECT_EQ(LastLoadOutcome(), LoadOutcome::EpdMoveNotRecognised);
  EXPECT_EQ(Board[F3], WHITE_KNIGHT);  // the new position stands
  EXPECT_FALSE(LoadPosition("8/8/8/8/8/8/8/8 w - - bm e4;"));
  EXPECT_EQ(LastLoadOutcome(), LoadOutcome::Refused);
  EXPECT_EQ(Board[F3], WHITE_KNIGHT);
}

TEST(EpdMove, SetboardShowsTheMoveAndTellsTheTwoFailuresApart) {
  EngineRun run = RunEngine("setboard " + QUEENS + " b - - bm Qg6;\nd\n" +
                            "setboard 4k3/8/8/8/8/8/8/4K3 w - - bm Zz9;\nd\n" +
                            "setboard 8/8/8/8/8/8/8/8 w - -\nd\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  auto at = [&](const std::string& part, size_t from) { return run.output.find(part, from); };
  size_t shown = at("FEN: 4k3/8/8/8/8/3Q4/K7/6q1 b - -\nKey: ", 0);
  size_t warned = at("bm: g1g6\nWarning cannot recognize move: Zz9\r\n", shown);
  size_t kept = at("FEN: 4k3/8/8/8/8/8/8/4K3 w - -\n", warned);
  size_t refused = at("tellusererror Illegal position\n", 0);
  ASSERT_TRUE(shown < warned && warned < kept && kept < refused && refused != std::string::npos) << run.output;
  EXPECT_NE(at("FEN: 4k3/8/8/8/8/8/8/4K3 w - -\n", refused), std::string::npos);  // the kept board stays
  EXPECT_EQ(at("tellusererror", refused + 1), std::string::npos);
  size_t logged = run.log.find("-M: tellusererror Illegal position\n");
  EXPECT_NE(run.log.find("-M: tellusererror Illegal position\n", logged + 1), std::string::npos) << run.log;
}

}  // namespace
