// "bench": the search measured on its built-in positions.
#include "driver/bench_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "driver/command_loop.h"
#include "driver/console_input.h"
#include "driver/time_control.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "support/engine_process.h"

namespace {

constexpr size_t BENCH_POSITION_COUNT = 16;
constexpr u32 SHALLOW = 3;
constexpr u32 POLLED = 5;  // deep enough that some searches look at the input

// The per-position lines of a bench run: their depths and node counts.
struct BenchLines {
  std::vector<u32> depths;
  std::vector<u64> nodes;
  u64 TotalNodes() const {
    u64 total = 0;
    for (u64 n : nodes) total += n;
    return total;
  }
};

BenchLines ReadBenchLines(const std::string& output) {
  BenchLines lines;
  std::istringstream text(output);
  std::string row;
  while (std::getline(text, row)) {
    unsigned number = 0, depth = 0;
    char move[8] = {};
    int score = 0;
    unsigned long long nodes = 0, ms = 0;
    int length = 0;
    if (std::sscanf(row.c_str(), "%u depth %u %7s score %d nodes %llu time %llu ms%n", &number, &depth, move, &score,
                    &nodes, &ms, &length) != 6 ||
        static_cast<size_t>(length) != row.size()) {
      break;
    }
    EXPECT_EQ(number, lines.depths.size() + 1) << row;
    EXPECT_TRUE(std::strlen(move) == 4 || std::strlen(move) == 5) << row;
    lines.depths.push_back(depth);
    lines.nodes.push_back(nodes);
  }
  return lines;
}

// The three lines after the positions' lines; false when they are not there.
struct BenchFigures {
  unsigned long long nodes, ms, nps;
};

bool ReadFigures(const std::string& output, BenchFigures& figures) {
  const size_t start = output.rfind("Nodes: ");
  if (start == std::string::npos) return false;
  int length = 0;
  const std::string tail = output.substr(start);
  return std::sscanf(tail.c_str(), "Nodes: %llu\nTime: %llu ms\nNPS: %llu\n%n", &figures.nodes, &figures.ms,
                     &figures.nps, &length) == 3 &&
         static_cast<size_t>(length) == tail.size();
}

class BenchTest : public testing::Test {
 protected:
  void SetUp() override {
    InitBoardTables();
    ASSERT_EQ(pipe(input_), 0);
    SetInputDescriptor(input_[0]);
  }
  void TearDown() override {
    SetInputDescriptor(0);
    for (int end : input_) close(end);
  }
  static BenchTotals Run(u32 depthLimit, BenchLines& lines) {
    testing::internal::CaptureStdout();
    BenchTotals totals = RunBench(depthLimit);
    lines = ReadBenchLines(testing::internal::GetCapturedStdout());
    return totals;
  }
  int input_[2] = {-1, -1};
};

TEST_F(BenchTest, EveryPositionIsSearchedAndCounted) {
  BenchLines lines;
  const BenchTotals totals = Run(SHALLOW, lines);
  ASSERT_EQ(lines.nodes.size(), BENCH_POSITION_COUNT);
  for (u32 depth : lines.depths) EXPECT_EQ(depth, SHALLOW);
  EXPECT_EQ(totals.nodes, lines.TotalNodes());
  EXPECT_GE(totals.ms, 0);

  BenchLines again;
  EXPECT_EQ(Run(SHALLOW, again).nodes, totals.nodes);  // the same tree every time
  EXPECT_EQ(again.nodes, lines.nodes);
}

TEST_F(BenchTest, SearchSettingsComeBackAsTheyWere) {
  EngineState = ENGINE_PLAYING;
  MaxSearchDepth = 17;
  TimeBudgetMs = 1234;
  BenchLines lines;
  Run(SHALLOW, lines);
  EXPECT_EQ(EngineState, ENGINE_PLAYING);
  EXPECT_EQ(MaxSearchDepth, 17u);
  EXPECT_EQ(TimeBudgetMs, 1234);
  EXPECT_TRUE(PrintThinking);
  EXPECT_TRUE(InputStopsSearch);
  EngineState = ENGINE_FORCE;
}

TEST_F(BenchTest, WaitingInputDoesNotCutTheSearchesShort) {
  BenchLines quiet;
  const u64 undisturbed = Run(POLLED, quiet).nodes;
  u64 largest = 0;
  for (u64 n : quiet.nodes) largest = std::max(largest, n);
  ASSERT_GT(largest, u64{POLL_INTERVAL});  // some search looked at the input

  ASSERT_EQ(write(input_[1], "quit\n", 5), 5);
  BenchLines waiting;
  EXPECT_EQ(Run(POLLED, waiting).nodes, undisturbed);
  EXPECT_EQ(waiting.nodes, quiet.nodes);
}

TEST(BenchCommand, PrintsEachPositionThenTheTotals) {
  // "quit" waits behind "bench" all the time it runs.
  EngineRun run = RunEngine("bench\nquit\n");
  EXPECT_EQ(run.exitCode, 0);
  const BenchLines lines = ReadBenchLines(run.output);
  ASSERT_EQ(lines.nodes.size(), BENCH_POSITION_COUNT) << run.output;

  BenchFigures figures{};
  ASSERT_TRUE(ReadFigures(run.output, figures)) << run.output;
  EXPECT_EQ(figures.nodes, lines.TotalNodes());
  EXPECT_EQ(figures.nps, figures.nodes * 1000 / std::max<unsigned long long>(figures.ms, 1));

  // The whole searches, as an undisturbed run in this process makes them.
  InitBoardTables();
  testing::internal::CaptureStdout();
  const BenchTotals here = RunBench(std::numeric_limits<u32>::max());
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(here.nodes, figures.nodes);
}

}  // namespace
