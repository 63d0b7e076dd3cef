#include "movegen/legal_moves.h"

#include <algorithm>

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"

MoveEntry* GenerateMovesOf(MoveEntry* list, UndoRecord& record) {
  FindCheckers(record);
  return record.checkers != 0 ? GenerateEvasions[SideToMove](list, record)
                              : GenerateAll[SideToMove](list);
}

bool IsGeneratedMove(Move move, UndoRecord& record) {
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = GenerateMovesOf(list, record);
  return std::any_of(list, end, [move](const MoveEntry& entry) { return entry.move == move; });
}

bool IsGeneratedLegalMove(Move move) {
  if (move == NO_MOVE) return false;
  UndoRecord record{};
  if (!IsGeneratedMove(move, record)) return false;
  int mover = static_cast<int>(SideToMove);
  SavePositionForUndo(record);
  MakeMove(move, record);
  bool illegal = KingLeftInCheck(move, mover);
  UnmakeMove(move, record);
  return !illegal;
}
