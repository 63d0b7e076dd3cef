// The command loop as the operator and the GUI see it: the built engine over pipes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "board/position.h"
#include "driver/command_loop.h"
#include "driver/time_control.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

namespace {

// In a folder without books the log begins with the book's report.
const std::string NO_BOOK_LOG = "BOOK ERROR: Cannot load file: 'bookbtm.mbx'\n";

TEST(CommandLoop, QuitExitsWithZeroAndIsLogged) {
  EngineRun run = RunEngine("quit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.log.find("::cmd:: quit\n"), std::string::npos);
  EXPECT_EQ(run.errors, "");
}

TEST(CommandLoop, EndOfInputWithoutQuitExitsWithZero) {
  EngineRun run = RunEngine("easy\nhard\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.log, NO_BOOK_LOG + "::cmd:: easy\n::cmd:: hard\n");
}

TEST(CommandLoop, WordsAfterQuitAreNotRead) {
  EngineRun run = RunEngine("quit\nbenchmark x\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output.find("Define __STAT"), std::string::npos);
  EXPECT_EQ(run.log.find("benchmark"), std::string::npos);
}

TEST(CommandLoop, HugeWordIsIgnoredWhole) {
  // The word ends in "quit"; no piece of it may act as a command.
  std::string huge(100000, 'x');
  huge += "quit";
  EngineRun run = RunEngine(huge + "\nbenchmark 1\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.output, "Define __STAT\n");
  EXPECT_NE(run.log.find("::cmd:: " + std::string(255, 'x') + "\n"), std::string::npos);
  EXPECT_NE(run.log.find("::cmd:: quit\n"), std::string::npos);
}

TEST(CommandLoop, LogIsRewrittenAtEveryStart) {
  TempDir dir;
  RunEngine("easy\nquit\n", dir.Path());
  EngineRun second = RunEngine("hard\nquit\n", dir.Path());
  EXPECT_EQ(second.log, NO_BOOK_LOG + "::cmd:: hard\n::cmd:: quit\n");
}

TEST(CommandLoop, EngineWorksOnWithoutALog) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("Tavrel.log").c_str(), 0700), 0);  // a folder where the file should be
  EngineRun run = RunEngine("benchmark 0\nquit\n", dir.Path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, "Define __STAT\n");
}

TEST(CommandLoop, BenchmarkReadsOneWordAndOnlyPrints) {
  EngineRun run = RunEngine("benchmark force\nquit\n");
  EXPECT_EQ(run.output, "Define __STAT\n");
  EXPECT_EQ(run.log, NO_BOOK_LOG + "::cmd:: benchmark\n::cmd:: quit\n");  // "force" was its argument
}

TEST(CommandLoop, MissingNumbersChangeNothingAndSwallowNoCommand) {
  MovesPerControl = 40;
  IncrementMs = 2000;
  TimeBudgetMs = 1234;
  EngineState = ENGINE_PLAYING;
  RunCommands("level force\n");
  EXPECT_EQ(MovesPerControl, 40);
  EXPECT_EQ(IncrementMs, 2000);
  EXPECT_EQ(EngineState, ENGINE_FORCE);  // "force" was still read as a command

  PonderEnabled = true;
  RunCommands("time easy\n");
  EXPECT_EQ(TimeBudgetMs, 1234);
  EXPECT_FALSE(PonderEnabled);

  RunCommands("time 6000 hard\n");  // no otim word: "hard" is still a command
  EXPECT_TRUE(PonderEnabled);
  EXPECT_EQ(TimeBudgetMs, 6000 / 40 * 10 + 2000);
}

TEST(CommandLoop, PrefixAndExactMatching) {
  PonderEnabled = true;
  RunCommands("easyX\n");  // "easy" matches only exactly
  EXPECT_TRUE(PonderEnabled);
  RunCommands("easy\n");
  EXPECT_FALSE(PonderEnabled);

  SideToMove = 0;
  RunCommands("whiteX\n");  // "white" is a prefix row
  EXPECT_EQ(SideToMove, 1u);
  EXPECT_EQ(GameSideToMove, 1u);
  RunCommands("black\n");
  EXPECT_EQ(SideToMove, 0u);
  EXPECT_EQ(GameSideToMove, 0u);
}

TEST(CommandLoop, ForceStopsTheEngineAndLogsIt) {
  EngineRun run = RunEngine("force\nquit\n");
  EXPECT_EQ(run.log, NO_BOOK_LOG +
            "::cmd:: force\n-M: entered StopEngine\n-M: exited StopEngine\n::cmd:: quit\n");
}

}  // namespace
