#include "driver/bench_commands.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

#include "board/move_text.h"
#include "board/position.h"
#include "engine/new_position.h"
#include "platform/clock.h"
#include "driver/command_loop.h"
#include "engine/game.h"
#include "engine/search_settings.h"
#include "engine/time_control.h"
#include "movegen/move_stack.h"
#include "search/search_stop.h"
#include "search/think.h"

namespace {

struct BenchPosition {
  const char* fen;
  u32 depth;
};

// Openings, middlegames, tactics (mates and combinations) and endgames.
constexpr BenchPosition BENCH_POSITIONS[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 8},
    {"r1bqk1nr/pppp1ppp/2n5/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -", 8},
    {"rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq -", 8},
    {"rnbqkb1r/ppp2ppp/4pn2/3p2B1/2PP4/2N5/PP2PPPP/R2QKBNR b KQkq -", 8},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 8},
    {"r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -", 8},
    {"2rq1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1P1BPN2/PB1N1PPP/R2Q1RK1 w - -", 8},
    {"r1b1k2r/ppppnppp/2n2q2/2b5/3NP3/2P1B3/PP3PPP/RN1QKB1R w KQkq -", 8},
    {"2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - -", 8},
    {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -", 7},
    {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", 9},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 10},
    {"1K1k4/1P6/8/8/8/8/r7/2R5 w - -", 12},
    {"8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - -", 22},
    {"8/3b4/5k2/2p2p2/2P2P2/3B1K2/8/8 w - -", 12},
    {"8/5pk1/6p1/8/3R4/6P1/5PK1/1r6 w - -", 12},
};

// One position, loaded and searched; its moves made and the search's time
// (the load, which clears the table, is not counted) are added to totals.
void SearchBenchPosition(Engine& engine, int number, const BenchPosition& position, u32 depthLimit,
                         BenchTotals& totals) {
  Position& pos = engine.game;
  LoadPosition(engine, position.fen);
  engine.limits.MaxSearchDepth = std::min(position.depth, depthLimit);
  StopSearch = false;
  pos.UndoTop = pos.UndoRecords;
  engine.limits.SearchStartClock = ClockMs();
  Think(*engine.searcher, pos);
  const i64 ms = ClockMs() - engine.limits.SearchStartClock;
  totals.ms += ms;
  totals.nodes += pos.MovesMade;
  char move[MOVE_TEXT_SIZE];
  MoveToText(move, engine.searcher->BestMove);
  std::printf("%2d  depth %2u  %-5s  score %6d  nodes %10u  time %6lld ms\n", number, engine.limits.MaxSearchDepth, move,
              static_cast<int>(engine.searcher->BestScore), pos.MovesMade, static_cast<long long>(ms));
}

}  // namespace

BenchTotals RunBench(Engine& engine, u32 depthLimit) {
  const SearchSettings saved(engine);
  const i32 engineState = engine.State;
  engine.State = ENGINE_THINKING;
  SetQuietSearch(engine.limits);
  BenchTotals totals{0, 0};
  int number = 0;
  for (const BenchPosition& position : BENCH_POSITIONS) {
    SearchBenchPosition(engine, ++number, position, depthLimit, totals);
  }
  saved.Restore();
  engine.State = engineState;
  return totals;
}

void BenchCommand(Engine& engine, const char*) {
  static BenchTotals totals;
  KeepingTheGame(engine, [&engine] { totals = RunBench(engine, std::numeric_limits<u32>::max()); });
  const i64 ms = std::max<i64>(totals.ms, 1);
  std::printf("Nodes: %llu\n", static_cast<unsigned long long>(totals.nodes));
  std::printf("Time: %lld ms\n", static_cast<long long>(totals.ms));
  std::printf("NPS: %llu\n", static_cast<unsigned long long>(totals.nodes * MS_PER_SECOND / ms));
}
