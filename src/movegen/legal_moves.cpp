#include "movegen/legal_moves.h"

#include <algorithm>

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"
#include "movegen/move_stack.h"

bool IsGeneratedLegalMove(Move move) {
  if (move == NO_MOVE) return false;
  MoveEntry list[MAX_LIST_MOVES];
  UndoRecord record{};
  FindCheckers(record);
  MoveEntry* end = record.checkers ? GenerateEvasions[SideToMove](list, record)
                                   : GenerateAll[SideToMove](list);
  bool generated = std::any_of(list, end, [move](const MoveEntry& entry) { return entry.move == move; });
  if (!generated) return false;
  int mover = static_cast<int>(SideToMove);
  SavePositionForUndo(record);
  MakeMove(move, record);
  bool illegal = KingLeftInCheck(move, mover);
  UnmakeMove(move, record);
  return !illegal;
}
