// Trying one move of a list at a node of AlphaBeta or the root: count it,
// make it, score it from the next ply's record unless it was illegal, take it
// back.
#pragma once

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/move_stack.h"
#include "search/score.h"

// The score of move for the side that makes it: SCORE_ILLEGAL when it leaves
// the mover's king attacked, else what searchMade() answers with the move made
// and UndoTop on the child's record.
template <typename SearchMade>
i16 TryMove(Move move, UndoRecord& record, SearchMade searchMade) {
  const int mover = static_cast<int>(SideToMove);
  ++MovesMade;
  MakeMove(move, record);
  ++UndoTop;
  const i16 score = KingLeftInCheck(move, mover) ? SCORE_ILLEGAL : searchMade();
  --UndoTop;
  UnmakeMove(move, record);
  return score;
}
