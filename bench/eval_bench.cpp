// Evaluations per second over a fixed set of positions, with the pawn cache
// warm (every evaluation after the first finds its pawn score) and cold (the
// position's cache entry emptied before each evaluation).
//
//   build/release/tavrel_eval_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include <iterator>

#include "board/attacks.h"
#include "engine/new_position.h"
#include "eval/evaluate.h"
#include "eval/pawn_structure.h"

namespace {

const char* const POSITIONS[] = {
    // Openings.
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
    "rnbqk2r/ppp1bppp/4pn2/3p4/2PP4/2N2N2/PP2PPPP/R1BQKB1R w KQkq -",
    // Middlegames.
    "r2q1rk1/pp2ppbp/2np1np1/8/3NP3/2N1B3/PPPQ1PPP/R3K2R w KQ -",
    "r1bq1rk1/pp3ppp/2n1pn2/2bp4/2P5/2N1PN2/PP1B1PPP/R2QKB1R w KQ -",
    "2r2rk1/1bqnbppp/p2ppn2/1p6/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - -",
    // Endgames.
    "8/5pk1/6p1/1p5p/1P3P1P/6P1/6K1/8 w - -",
    "2r3k1/pp3ppp/2n5/3p4/3P4/2N5/PP3PPP/2R3K1 b - -",
    "8/8/4k3/3p4/3P1K2/8/8/8 w - -",
};
constexpr int POSITION_COUNT = static_cast<int>(std::size(POSITIONS));

void LoadBenchPosition(Position& pos, benchmark::State& state) {
  InitBoardTables();
  if (!ReadPositionText(pos, POSITIONS[state.range(0)])) state.SkipWithError("position did not load");
  state.SetLabel(POSITIONS[state.range(0)]);
}

void EvaluateWarmCache(benchmark::State& state) {
  Position pos;
  LoadBenchPosition(pos, state);
  for (auto _ : state) benchmark::DoNotOptimize(Evaluate(pos, -8190, 8190));
  state.SetItemsProcessed(state.iterations());
}

void EvaluateColdCache(benchmark::State& state) {
  Position pos;
  LoadBenchPosition(pos, state);
  u32& entry = PawnHashTable[pos.PawnHashKey & PAWN_HASH_INDEX_MASK];
  for (auto _ : state) {
    entry = 0;
    benchmark::ClobberMemory();
    benchmark::DoNotOptimize(Evaluate(pos, -8190, 8190));
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(EvaluateWarmCache)->DenseRange(0, POSITION_COUNT - 1);
BENCHMARK(EvaluateColdCache)->DenseRange(0, POSITION_COUNT - 1);

}  // namespace

BENCHMARK_MAIN();
