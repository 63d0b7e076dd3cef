#include "search/search_memory.h"

#include "board/position.h"
#include "eval/pawn_structure.h"
#include "search/search_stack.h"
#include "search/search_state.h"
#include "search/trans_table.h"

void ForgetSearchMemory() {
  ClearTransTable();
  ClearHistoryScores();
  for (PlyRecord& node : SearchStack) {
    node.killer1 = 0;
    node.killer2 = 0;
  }
  ClearPawnHashTable();
}
