// "bench": a fixed set of positions searched to fixed depths, to measure the
// search. Its node count is the search's signature: a change that only makes
// the search faster leaves it as it was.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

struct BenchTotals {
  u64 nodes;  // moves made by the searches (MovesMade), summed
  i64 ms;     // time of all the searches together
};

// Loads each built-in position with LoadPosition (so each starts from a cleared
// table) and searches it to its depth, but never deeper than depthLimit, with
// no time limit and no notice of pending input. Prints one line per position:
// its number, depth, best move, score, nodes and time. The last position
// stays on the board; the search settings are restored.
BenchTotals RunBench(Engine& engine, u32 depthLimit);

// "bench": RunBench at the positions' own depths, then "Nodes: N", "Time: T ms"
// and "NPS: R" (nodes per second). Afterwards the board and the game are as
// they were before.
void BenchCommand(Engine& engine, const char* word);
