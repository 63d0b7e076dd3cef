// "bench": the search measured on its built-in positions, always the same tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <sstream>
#include <tuple>

#include "board/attacks.h"
#include "driver/bench_commands.h"
#include "driver/command_loop.h"
#include "engine/time_control.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

constexpr size_t BENCH_POSITION_COUNT = 16;

// The node counts of the positions' lines, which come first, numbered from 1:
// "number depth d move score s nodes n time t ms".
static std::vector<u64> NodesPerPosition(const std::string& output) {
  std::vector<u64> nodes;
  std::istringstream text(output);
  for (std::string row; std::getline(text, row);) {
    unsigned long long number = 0, count = 0;
    char move[8] = {};
    int depth, score, time, end = 0;
    if (std::sscanf(row.c_str(), "%llu depth %d %7s score %d nodes %llu time %d ms%n", &number, &depth, move, &score,
                    &count, &time, &end) != 6 || static_cast<size_t>(end) != row.size()) {
      break;
    }
    EXPECT_EQ(number, nodes.size() + 1) << row;
    EXPECT_TRUE(std::strlen(move) == 4 || std::strlen(move) == 5) << row;  // coordinate text
    nodes.push_back(count);
  }
  return nodes;
}

TEST(Bench, TheSameTreeWhateverWaitsAtTheInputAndTheSettingsComeBack) {
  constexpr u32 DEPTH = 5;  // deep enough that some searches look at the input
  InitBoardTables();
  InputPipe input;
  std::tie(EngineState, MaxSearchDepth, TimeBudgetMs) = std::tuple(ENGINE_PLAYING, 17u, 1234);
  std::vector<u64> runs[2];
  for (std::vector<u64>& nodes : runs) {
    testing::internal::CaptureStdout();
    u64 total = RunBench(DEPTH).nodes;
    nodes = NodesPerPosition(testing::internal::GetCapturedStdout());
    EXPECT_EQ(total, std::accumulate(nodes.begin(), nodes.end(), u64{0}));
    input.Write("quit\n");  // waiting for the second run
  }
  ASSERT_EQ(runs[0].size(), BENCH_POSITION_COUNT);
  EXPECT_GT(*std::max_element(runs[0].begin(), runs[0].end()), u64{POLL_INTERVAL});
  EXPECT_EQ(runs[1], runs[0]);
  EXPECT_EQ(std::tuple(EngineState, MaxSearchDepth, TimeBudgetMs, PrintThinking, InputStopsSearch),
            std::tuple(ENGINE_PLAYING, 17u, 1234, true, true));
  EngineState = ENGINE_FORCE;
}

TEST(Bench, PrintsEachPositionThenTheTotals) {
  EngineRun run = RunEngine("bench\nquit\n");  // "quit" waits behind "bench" all the time it runs
  const std::vector<u64> nodes = NodesPerPosition(run.output);
  ASSERT_EQ(nodes.size(), BENCH_POSITION_COUNT) << run.output;
  unsigned long long total = 0, ms = 0, nps = 0;
  const std::string figures = run.output.substr(std::min(run.output.rfind("\nNodes: "), run.output.size()));
  ASSERT_EQ(std::sscanf(figures.c_str(), "\nNodes: %llu\nTime: %llu ms\nNPS: %llu", &total, &ms, &nps), 3) << figures;
  EXPECT_EQ(figures, "\nNodes: " + std::to_string(total) + "\nTime: " + std::to_string(ms) + " ms\nNPS: " +
                         std::to_string(nps) + "\n");  // the last lines
  EXPECT_EQ(total, std::accumulate(nodes.begin(), nodes.end(), u64{0}));
  EXPECT_EQ(nps, total * 1000 / std::max(ms, 1ULL));
}
