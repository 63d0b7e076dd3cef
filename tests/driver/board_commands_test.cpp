// "new", "setboard", coordinate moves and "d", from outside over pipes and
// through the command loop in process.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "board/attacks.h"
#include "board/position.h"
#include "board/zobrist.h"
#include "driver/command_loop.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

namespace {

// The key of a board given as 64 letters from a8 to h1, '.' for empty.
u64 KeyOfSquares(const std::string& squares) {
  u64 key = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    std::string letters = PieceLetters;
    size_t code = letters.find(squares[s]);
    if (code != 0) key ^= ZobristKeys[code][s];
  }
  return key;
}

const std::string INITIAL_SQUARES =
    "rnbqkbnrpppppppp................................PPPPPPPPRNBQKBNR";

std::string KeyLine(u64 key) {
  char line[32];
  std::snprintf(line, sizeof line, "Key: %016" PRIX64 "\n", key);
  return line;
}

// The key as the log writes it after a move: both halves in lower-case hexadecimal.
std::string LogKeyLine(u64 key) {
  char line[32];
  std::snprintf(line, sizeof line, "%x %x\n", static_cast<unsigned>(key >> 32), static_cast<unsigned>(key));
  return line;
}

const std::string INITIAL_DIAGRAM =
    "\n8 r n b q k b n r "
    "\n7 p p p p p p p p "
    "\n6 . . . . . . . . "
    "\n5 . . . . . . . . "
    "\n4 . . . . . . . . "
    "\n3 . . . . . . . . "
    "\n2 P P P P P P P P "
    "\n1 R N B Q K B N R "
    "\n\n  A B C D E F G H\n";

const std::string INITIAL_SHOWN = INITIAL_DIAGRAM +
                                  "FEN: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\n" +
                                  KeyLine(KeyOfSquares(INITIAL_SQUARES));

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(BoardCommands, NewAndShow) {
  EngineRun run = RunEngine("new\nd\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, INITIAL_SHOWN);
  EXPECT_EQ(run.errors, "");
}

TEST(BoardCommands, MovesArePlayedAndTheirKeysLogged) {
  EngineRun run = RunEngine("new\nforce\ne2e4\ne7e5\nd\nquit\n");
  std::string afterTwo = INITIAL_SQUARES;
  afterTwo[E2] = afterTwo[E7] = '.';
  afterTwo[E4] = 'P';
  afterTwo[E5] = 'p';
  u64 keyAfterOne = KeyOfSquares(INITIAL_SQUARES) ^ ZobristKeys[WHITE_PAWN][E2] ^
                    ZobristKeys[WHITE_PAWN][E4] ^ ZobristKeys[0][E3];
  u64 keyAfterTwo = KeyOfSquares(afterTwo) ^ ZobristKeys[0][E6];
  EXPECT_NE(run.output.find("FEN: rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6\n" +
                            KeyLine(keyAfterTwo)),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.log.find("::cmd:: e2e4\n" + LogKeyLine(keyAfterOne) + "::cmd:: e7e5\n" +
                         LogKeyLine(keyAfterTwo)),
            std::string::npos)
      << run.log;
}

TEST(BoardCommands, SetboardLoadsAndLogsItsLine) {
  EngineRun run = RunEngine("setboard 8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51\nd\nquit\n");
  EXPECT_NE(run.output.find("FEN: 8/8/5Q2/2R4k/8/8/P5P1/6K1 b - -\n"), std::string::npos) << run.output;
  // The text keeps the blank after the word and its own line end.
  EXPECT_NE(run.log.find("::cmd:: setboard\nsetboard  8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51\n\n::cmd:: d\n"),
            std::string::npos)
      << run.log;
}

TEST(BoardCommands, RefusedSetboardTellsTheInterfaceAndKeepsThePosition) {
  EngineRun run = RunEngine("new\nsetboard 8/8/8/8/8/8/8/8 w - -\nd\nsetboard rnbqkbnr w\nd\nquit\n");
  EXPECT_EQ(run.output, "tellusererror Illegal position\n" + INITIAL_SHOWN +
                            "tellusererror Illegal position\n" + INITIAL_SHOWN);
  EXPECT_EQ(Count(run.log, "-M: tellusererror Illegal position\n"), 2);
}

TEST(BoardCommands, AnOverlongSetboardLineIsCutAndItsRestDiscarded) {
  std::string fen = "4k3/8/8/8/8/8/8/4K2R w K - ";
  std::string kept = " " + fen + std::string(254 - 1 - fen.size(), 'x');  // 254 characters
  EngineRun run = RunEngine("setboard" + kept + " d d\nd\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Count(run.output, "FEN: "), 1) << run.output;
  EXPECT_NE(run.output.find("FEN: 4k3/8/8/8/8/8/8/4K2R w K -\n"), std::string::npos);
  EXPECT_NE(run.log.find("::cmd:: d\n::cmd:: quit\n"), std::string::npos);
}

TEST(BoardCommands, ShowIsAnExactWord) {
  EngineRun run = RunEngine("new\ndone\ndx\nD\nquit\n");
  EXPECT_EQ(run.output, "");
}

TEST(BoardCommands, IllegalMovesAreRefusedAndChangeNothing) {
  EngineRun run = RunEngine("new\ne2e5\ne7e5\ne1e2\nd\nquit\n");
  EXPECT_EQ(run.output,
            "Illegal move: e2e5\nIllegal move: e7e5\nIllegal move: e1e2\n" + INITIAL_SHOWN);
}

TEST(BoardCommands, MovesBeforeAnyPositionAreRefused) {
  EngineRun run = RunEngine("e2e4\ne1g1\nd\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_NE(run.output.find("Illegal move: e2e4\nIllegal move: e1g1\n"), std::string::npos);
  EXPECT_NE(run.output.find("FEN: 8/8/8/8/8/8/8/8 w - -\n" + KeyLine(0)), std::string::npos) << run.output;
}

TEST(BoardCommands, AThousandsOfPliesGameOverThePipe) {
  std::string input = "new\nforce\n";
  for (int cycle = 0; cycle < 1000; ++cycle) input += "g1f3 g8f6 f3g1 f6g8\n";
  EngineRun run = RunEngine(input + "d\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.output, INITIAL_SHOWN);
}

class BoardCommandsInProcess : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
  void TearDown() override {
    EpdBestMove = EpdAvoidMove = NO_MOVE;
    EngineState = ENGINE_FORCE;
  }
};

TEST_F(BoardCommandsInProcess, NewMakesTheEngineAnswerMoves) {
  EngineState = ENGINE_FORCE;
  RunCommands("new\n");
  EXPECT_EQ(EngineState, ENGINE_PLAYING);
  EXPECT_EQ(GameMoveCount, 1);
}

TEST_F(BoardCommandsInProcess, MovesAreNotPlayedWhileThinking) {
  RunCommands("new\n");
  EngineState = ENGINE_THINKING;
  EXPECT_EQ(RunCommandsCapturingOutput("e2e4\n"), "");
  EXPECT_EQ(GameMoveCount, 1);
  EngineState = ENGINE_FORCE;
  RunCommands("e2e4\n");
  EXPECT_EQ(GameMoveCount, 2);
}

TEST_F(BoardCommandsInProcess, EpdMovesAreShownWhenSet) {
  RunCommands("new\n");
  EXPECT_EQ(RunCommandsCapturingOutput("d\n"), INITIAL_SHOWN);
  EpdBestMove = MakeMoveCode(E2, E4, KIND_QUIET);
  EXPECT_EQ(RunCommandsCapturingOutput("d\n"), INITIAL_SHOWN + "bm: e2e4\n");
  EpdBestMove = NO_MOVE;
  EpdAvoidMove = MakeMoveCode(G1, F3, KIND_QUIET);
  EXPECT_EQ(RunCommandsCapturingOutput("d\n"), INITIAL_SHOWN + "am: g1f3\n");
}

}  // namespace
