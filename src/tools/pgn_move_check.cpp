#include "tools/pgn_move_check.h"

#include <algorithm>

#include "board/check.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"

bool IsGeneratedMove(Move move, UndoRecord& record) {
  FindCheckers(record);
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = record.checkers != 0 ? GenerateEvasions[SideToMove](list, record)
                                        : GenerateAll[SideToMove](list);
  return std::any_of(list, end, [move](const MoveEntry& entry) { return entry.move == move; });
}
