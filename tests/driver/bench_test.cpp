// "bench": the search measured on its built-in positions, always the same tree.

#include <cstring>
#include <numeric>

#include "board/position_text.h"
#include "engine/game.h"
#include "support/move_probe.h"
#include "board/move_validity.h"
#include "driver/bench_commands.h"
#include "driver/command_loop.h"
#include "engine/time_control.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

constexpr size_t BENCH_POSITION_COUNT = 16;

// The node counts of the positions' lines, which come first, numbered from 1: "number depth d move score s nodes n time
// t ms".
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
  Engine engine;
  constexpr u32 DEPTH = 5;  // deep enough that some searches look at the input
  InitBoardTables();
  InputPipe input;
  std::tie(engine.State, engine.limits.MaxSearchDepth, engine.limits.TimeBudgetMs) = std::tuple(ENGINE_PLAYING, 17u, 1234);
  std::vector<u64> runs[2];
  for (std::vector<u64>& nodes : runs) {
    testing::internal::CaptureStdout();
    u64 total = RunBench(engine, DEPTH).nodes;
    nodes = NodesPerPosition(testing::internal::GetCapturedStdout());
    EXPECT_EQ(total, std::accumulate(nodes.begin(), nodes.end(), u64{0}));
    input.Write("quit\n");  // waiting for the second run
  }
  ASSERT_EQ(runs[0].size(), BENCH_POSITION_COUNT);
  EXPECT_GT(*std::max_element(runs[0].begin(), runs[0].end()), u64{POLL_INTERVAL});
  EXPECT_EQ(runs[1], runs[0]);
  EXPECT_EQ(std::tuple(engine.State, engine.limits.MaxSearchDepth, engine.limits.TimeBudgetMs, engine.limits.PrintThinking, engine.limits.InputStopsSearch),
            std::tuple(ENGINE_PLAYING, 17u, 1234, true, true));
  engine.State = ENGINE_FORCE;
}

// Typed while the engine ponders in a game, "bench" takes the guess back first and gives the game back when it ends:
// the game goes on legally.
TEST(Bench, PrintsEachPositionThenTheTotalsAndTheGameGoesOn) {
  Engine core;  // the game played here too
  Position& pos = core.game;
  EngineProcess engine;
  engine.Send("new\ne2e4\n");
  auto reply = engine.ReadUntil("move ");
  ASSERT_TRUE(reply);
  for (int waited = 0; waited < 2000 && engine.ReadLog().find("goodPonder: 0", engine.ReadLog().find("\tscore: ")) ==
                                            std::string::npos; ++waited) {
    usleep(5000);  // until the ponder search runs
  }
  engine.Send("bench\na2a3\n");
  auto run = engine.ReadUntil("move ", std::chrono::seconds(300));  // bench is slow under the sanitizers
  ASSERT_TRUE(run);
  std::string output;
  for (const std::string& line : *run) output += line + "\n";
  engine.Send("force\nd\nperft 1\nquit\n");
  const std::string after = engine.ReadToEnd();
  EXPECT_EQ(engine.Wait(), 0);

  const std::vector<u64> nodes = NodesPerPosition(output);
  ASSERT_EQ(nodes.size(), BENCH_POSITION_COUNT) << output;
  unsigned long long total = 0, ms = 0, nps = 0;
  const std::string figures = output.substr(std::min(output.rfind("\nNodes: "), output.size()));
  ASSERT_EQ(std::sscanf(figures.c_str(), "\nNodes: %llu\nTime: %llu ms\nNPS: %llu", &total, &ms, &nps), 3) << figures;
  EXPECT_EQ(total, std::accumulate(nodes.begin(), nodes.end(), u64{0}));
  EXPECT_EQ(total, 6977869u);  // the search's signature: only a change of the search changes it
  EXPECT_EQ(nps, total * 1000 / std::max(ms, 1ULL));

  // The game: e2e4, the engine's reply, a2a3 and its answer, played here too.
  Load(pos, INITIAL_POSITION);
  for (const std::string& move : {std::string("e2e4"), reply->back().substr(5), std::string("a2a3"), run->back().substr(5)}) {
    ASSERT_TRUE(IsLegalMove(pos, ParseGameMove(pos, move.c_str()))) << move;
    ASSERT_TRUE(PlayGameMove(core, ParseGameMove(pos, move.c_str())));
  }
  char fen[POSITION_TEXT_SIZE];
  WritePositionText(pos, fen);
  EXPECT_EQ(after.find("Illegal move"), std::string::npos) << after;
  EXPECT_NE(after.find(std::string("FEN: ") + fen + "\n"), std::string::npos) << after;
  EXPECT_NE(after.find("total nodes: " + std::to_string(LegalMoves(pos).size())), std::string::npos) << after;
}

// Each search has its own signature: the classic one's above, the modern one's here. Chosen by its option, under
// either protocol, and back to the classic search on the same engine.
TEST(Bench, EachSearchHasItsSignature) {
  // Two whole benches: the sanitizer build needs more than a minute for them.
  const std::string xboard = RunEngine("xboard\noption Search=Modern\nbench\noption Search=Classic\nbench\nquit\n", "",
                                       TAVREL_WITHOUT_BOOK, std::chrono::seconds(300))
                                 .output;
  EXPECT_NE(xboard.find("Nodes: 2962009\n"), std::string::npos) << xboard;  // the modern search's
  EXPECT_NE(xboard.find("Nodes: 6977869\n"), std::string::npos) << xboard;
  const std::string uci = RunEngine("uci\nsetoption name Search value modern\nsetoption name Search value Clever\n").output;
  EXPECT_NE(uci.find("info string option Search: value not taken: Clever\n"), std::string::npos) << uci;
  EXPECT_EQ(Count(uci, "value not taken"), 1) << uci;
}
