// How long the engine may think: the time control the interface set, the
// budget of the next move, and the search starts that use them.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"
#include "search/search_limits.h"

// Moves to go when no control is set: the whole game is shared as if 33 moves were left.
constexpr i32 DEFAULT_MOVES_TO_GO = 33;

struct TimeAllocation {
  i32 movesToGo;
  i64 budgetMs;
};

// The budget for the next move from the own clock in centiseconds, given the
// moves the side to move has made in the game so far. 64-bit all through: a
// clock of 999999999 with one move to go gives 8999999091 ms.
TimeAllocation ComputeTimeAllocation(i64 ownClockCs, i32 movesPerControl, i32 incrementMs, u32 movesMade);

// The moves the side to move has made, counted as a GUI counts them for a time
// control: by move number from the start of the game, where a game set up with
// black to move starts with black's first move and white's first move is the
// second (the side's count is then (plies + 1) / 2 for white).
u32 MovesMadeInGame(Position& pos);

struct TimeLimits {
  i64 budgetMs;     // what the search aims to use
  i64 hardLimitMs;  // what it never passes
};

// The budget made safe for a clock of clockMs: never more than the clock can
// pay, keeping a reserve for the interface's own delays; and when the share of
// a whole control is known (fairShareMs > 0), never more than a few such shares.
TimeLimits SafeTimeLimits(i64 budgetMs, i64 clockMs, i64 fairShareMs);

// "time": sets MovesToGo, TimeBudgetMs and HardTimeLimitMs from the own clock
// and the time control (a fixed time per move, when set, rules instead).
void AllocateTime(Engine& engine, i64 ownClockCs);

// The same for a clock in milliseconds with its own increment and, when the
// interface tells it (movesToGo > 0), the moves to the next control.
// overheadMs is what the interface and the network lose per move: it comes
// off the clock the reserve is counted from, and off the move's share.
void AllocateClockTime(Engine& engine, i64 ownClockMs, i32 incrementMs, i32 movesToGo, i64 overheadMs = 0);

// A fixed time for this move (less the overhead): the search stops a little before it.
void AllocateMoveTime(Engine& engine, i64 moveMs, i64 overheadMs = 0);

// No clock: only the depth, the node count or the input ends the search.
void AllocateNoTime(Engine& engine);

// The limits of the engine's own move under xboard, just before its search:
// a fixed time per move when set; before any "time", the control's own time
// as the clock, or no clock at all when only a depth limit was set; then,
// with a node rate, the time turned into a node count (the wall clock no
// longer counts).
void PrepareOwnMoveLimits(Engine& engine);

// The depths a search is started with: at most DEEPEST_ITERATION iterations
// (StartEngine cuts a deeper one to it), and a depth limit is never below the
// first iteration's depth, SHALLOWEST_DEPTH_LIMIT. A search that only its
// clock, its input or a node count ends is started with UNLIMITED_DEPTH.
constexpr u32 DEEPEST_ITERATION = 127;
constexpr u32 SHALLOWEST_DEPTH_LIMIT = 2;
constexpr u8 UNLIMITED_DEPTH = 128;

// Runs one search of the position on the board to the end (at most depth
// iterations, 127 at the most). On a ponder hit (goodPonder) the clock keeps
// the start of the ponder search, so the time spent pondering counts.
// A search for the move to play (playing) is made at the strength level the
// options ask for; any other at full strength.
void StartEngine(Engine& engine, bool goodPonder, u8 depth, SearchMode mode = SearchMode::OwnMove, bool playing = false);
