// What one searching thread owns: its move lists, the search's record of each
// ply, the history that orders quiet moves, and where its iterations stand.
// The reporting thread has one, each helper another; only the transposition
// table is shared. Every routine of the search is handed the searcher it runs on.
#pragma once

#include <array>
#include <cstdlib>

#include "board/position.h"
#include "movegen/move_stack.h"
#include "search/pv_text.h"
#include "search/search_limits.h"
#include "search/search_stack.h"
#include "search/search_state.h"

// How far the current iteration has got through the root moves, for an
// interface that asks: moves picked so far, moves in the list (legal or not),
// and the move being searched.
struct RootProgress {
  u32 tried;
  u32 total;
  Move move;
};

struct Searcher {
  SearchLimits* Limits;  // of the search it runs

  // The answer of the last search: a move, or a result code (GAME_MATED,
  // GAME_STALEMATE, GAME_REPETITION, GAME_FIFTY_MOVES, GAME_NO_MATERIAL), and
  // its score for the side to move.
  Move BestMove;
  i16 BestScore;
  // True once BestMove holds something the engine can answer with: the result
  // of a completed iteration, or the legal move of the deep table entry the
  // search started from. Until then neither the clock nor pending input stops a
  // search of the engine's own move, so that the answer is never move 0 or a
  // table move that does not fit the position. (A ponder search may always stop.)
  bool MoveToPlayKnown;
  // The lines of the last completed iteration, best first: as many as it
  // looked for (MultiPvLines or ChoiceLines, whichever is more) and the root
  // had moves for, each root move with its score.
  MoveEntry LastIterationLines[MAX_MULTI_PV_LINES];
  u32 LastIterationLineCount;
  // The expected line after each completed iteration, as PvToText writes it.
  char PvText[PV_TEXT_SIZE];

  MoveEntry MoveStack[MOVE_STACK_SIZE];
  PlyRecord SearchStack[PLY_RECORDS];

  // Indexed by the side to move and the low 12 bits of the move (from and to
  // squares); grows by depth squared at every cut-off.
  u32 HistoryScores[2][HISTORY_MOVE_SLOTS];
  // The modern search's history, in the same slots: it stays within
  // +-HISTORY_LIMIT, each change shrinking as the counter nears the limit, and
  // falls for the quiet moves tried in vain before a quiet cut-off.
  i16 BoundedHistory[2][HISTORY_MOVE_SLOTS];
  // The quiet move that last cut the search off in answer to each move, by the
  // piece that made that move and the square it went to (modern search).
  Move CounterMoves[PIECE_CODE_COUNT][SQUARE_COUNT];
  // The modern search's history of each quiet move in answer to the move just
  // before it: a row by the piece that made that move and the square it went
  // to, bounded as BoundedHistory.
  ContinuationRow ContinuationHistory[PIECE_CODE_COUNT][SQUARE_COUNT];

  // Per side to move: the nodes of the line from the root to here at which
  // that side is in check.
  u32 InCheckCount[2];
  // The deepest ply the current search has reached in the quiescence search.
  u32 SelectiveDepth;
  // The static score of each ply of the line (modern search's improving rule).
  std::array<i16, PLY_RECORDS> StaticScoreAtPly;

  // Depth of the iteration being searched.
  u32 IterationDepth;
  // 1 while the root searches again after failing high, -1 after failing
  // low, 0 otherwise.
  i32 RootResearchFlag;
  RootProgress CurrentRootProgress;
  // The MovesMade count after which the next look at the clock and input is due.
  u32 NextPollAt;
  // A helper neither looks at the clock nor reads input.
  bool IsHelper;
};

// The record of the ply the position's search is at: the same depth as its undo record.
inline PlyRecord& PlyRecordOf(Searcher& s, const Position& pos) { return s.SearchStack[pos.UndoTop - pos.UndoRecords]; }

// The same, for a search that counts its plies from the root: cheaper, as the
// nodes know their ply. The sanitizer build checks that they agree.
inline PlyRecord& PlyRecordAt(Searcher& s, [[maybe_unused]] const Position& pos, i32 ply) {
#ifdef TAVREL_CHECK_INVARIANTS
  if (ply != pos.UndoTop - pos.UndoRecords) std::abort();
#endif
  return s.SearchStack[ply];
}

// Forgets the history counters (every kind) and the counter moves: after every
// game move (unless they are aged instead) and at a position load.
void ClearHistoryScores(Searcher& s);
// After a game move, the modern search's alternative: the counters keep half
// of what they learnt and the counter moves stay, as the next search is of a
// position close to the last one.
void AgeHistoryScores(Searcher& s);
