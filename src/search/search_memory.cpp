#include "search/search_memory.h"

#include "board/position.h"
#include "eval/pawn_structure.h"
#include "search/search_state.h"
#include "search/trans_table.h"

void ForgetSearchMemory(Position& pos) {
  ClearTransTable();
  ClearHistoryScores();
  for (UndoRecord& record : pos.UndoRecords) {
    record.killer1 = 0;
    record.killer2 = 0;
  }
  ClearPawnHashTable();
}
