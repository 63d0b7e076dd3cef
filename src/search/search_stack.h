// The search's own record of each ply from the root, beside the position's
// undo records: the move list being tried, the table's answer at the node and
// the killers. Each searching thread has its stack.
#pragma once

#include "board/position.h"
#include "movegen/move_stack.h"

struct PlyRecord {
  MoveEntry* nextMove;  // entry being tried at this ply
  MoveEntry* listEnd;   // one past the last entry of this ply's list
  u32 ttBound;
  i16 ttScore;
  u16 hashMove;
  u16 killer1;
  u16 killer2;
  u8 ttDepth;
  u32 orderKeys[MAX_LIST_MOVES];
};


// The same on a ply's record: the entry at record.nextMove becomes the best left.
inline MoveEntry& SelectNextMove(PlyRecord& record) { return SelectNextMove(record.nextMove, record.listEnd); }
