#include "board/search_memory.h"

#include "board/position.h"

void ForgetSearchMemory() {
  for (UndoRecord& record : UndoRecords) {
    record.killer1 = 0;
    record.killer2 = 0;
  }
}
