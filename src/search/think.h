// The search entry point: iterative deepening over the root search, with an
// aspiration window, the thinking line and the search's trace in the log.
#pragma once

#include <functional>

#include "board/position.h"
#include "board/types.h"
#include "movegen/move_stack.h"
#include "search/pv_text.h"
#include "search/search_limits.h"
#include "search/searcher.h"

// A completed iteration as the interface is told of it.
struct IterationReport {
  u32 depth;
  u32 selectiveDepth;
  i16 score;        // for the side to move
  i64 elapsedMs;    // since SearchStartClock
  u64 nodes;        // moves made
  const char* moves;  // the expected line: moves only, each followed by a blank
  u32 line = 0;       // with several lines, which (1 the best); 0 when only one is looked for
};

// Where completed iterations go: the front end says (ReportNowhere until it does).
extern std::function<void(const IterationReport& report)> ReportIterationTo;
void ReportNowhere(const IterationReport& report);

// A mate score as moves: N > 0 for a mate in N, -N when mated in N (0 when
// mated now); 0 for a score that is no mate.
int MateInMoves(i16 score);

// Searches the position on the board with the searcher s and returns
// s.BestMove. The caller has cleared StopSearch and set the limits of s
// (MaxSearchDepth, SearchStartClock, TimeBudgetMs; CurrentSearchMode says
// what kind of search it is). The root record is UndoRecords[0], the root
// list the bottom of s.MoveStack. The first iteration has depth 2 (or that of an exact table entry for the position):
// a MaxSearchDepth below it leaves the table's answer, or none. A drawn
// position is answered at once with its result code and score 0. The search
// deepens until MaxSearchDepth, a stalemate, the fourth iteration that sees
// a mate, the time or pending input ends it; an iteration that is stopped
// changes neither BestMove nor BestScore. Unless pondering, neither the clock
// nor pending input stops a search that has no move to answer with yet
// (MoveToPlayKnown). The position, UndoTop and HistoryTop are as they were on
// return.
Move Think(Searcher& s, Position& pos);
