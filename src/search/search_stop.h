// When a running search looks at the clock and at the input, and what makes it
// stop. Every node that returns early leaves partial scores, which the root
// discards; StopSearch tells the nodes above to return too.
#pragma once

#include <functional>

#include "board/position.h"
#include "board/types.h"
#include "movegen/move_stack.h"
#include "search/searcher.h"

// The clock and the input are looked at once per this many moves made.
constexpr u32 POLL_INTERVAL = 16384;


// Asked when the search looks at the input: true when what waits must stop
// it. By default any input does; a protocol front end puts its own question
// here, which may deal with some of what waits without stopping the search.
extern std::function<bool(Position& pos)> WaitingInputStopsSearch;

inline bool PollDue(Searcher& s, Position& pos) { return pos.MovesMade > s.NextPollAt; }

// The limits of an OwnMove search are reached, once it has a move to play:
// HardTimeLimitMs at any time; from iteration 3 on, TimeBudgetMs or NodeLimit.
// Never for a ponder or an analysis search.
bool TimeIsUp(Searcher& s, Position& pos);

// Between two iterations of the modern search on a clock: true when the next
// one would likely end past the budget, as half of it is spent (four fifths
// when the last iteration changed its mind about the best move). Never for
// the classic search, for a fixed time a move (used whole), before the first
// timed iteration, or for a helper thread.
bool NoTimeForAnotherIteration(Searcher& s, bool bestMoveChanged);

// The look itself, when PollDue: false, with the next look scheduled, while
// the search may go on. Otherwise sets StopSearch and answers true; once it is
// set, every later look answers true without asking again.
bool PollSaysStop(Searcher& s, Position& pos);
