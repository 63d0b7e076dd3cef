// Trying one move of a list at a node of AlphaBeta or the root: count it,
// make it, score it from the next ply's record unless it was illegal, take it
// back.
#pragma once

#include "board/board_invariants.h"
#include "board/check.h"
#include "board/make_move.h"
#include "board/position.h"
#include "movegen/move_stack.h"
#include "search/score.h"

// The score of move for the side that makes it: SCORE_ILLEGAL when it leaves
// the mover's king attacked, else what searchMade() answers with the move made
// and UndoTop on the child's record. The sanitizer build checks the board's
// invariants after the move when it is legal, and after taking it back.
template <typename SearchMade>
i16 TryMove(Position& pos, Move move, UndoRecord& record, SearchMade searchMade) {
  const int mover = static_cast<int>(pos.SideToMove);
  ++pos.MovesMade;
  MakeMove(pos, move, record);
  ++pos.UndoTop;
  i16 score = SCORE_ILLEGAL;
  if (!KingLeftInCheck(pos, move, mover)) {
    CheckBoardInvariants(pos, "after a move made in the search");
    score = searchMade();
  }
  --pos.UndoTop;
  UnmakeMove(pos, move, record);
  CheckBoardInvariants(pos, "after a move taken back in the search");
  return score;
}
