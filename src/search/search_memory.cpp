#include "search/search_memory.h"

#include "board/position.h"
#include "eval/pawn_structure.h"
#include "search/searcher.h"
#include "search/trans_table.h"

void ForgetSearchMemory(Searcher& s) {
  ClearTransTable();
  ClearHistoryScores(s);
  for (PlyRecord& node : s.SearchStack) {
    node.killer1 = 0;
    node.killer2 = 0;
  }
  ClearPawnHashTable();
}
