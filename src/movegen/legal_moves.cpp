#include "movegen/legal_moves.h"

#include <algorithm>

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"

MoveEntry* GenerateMovesOf(Position& pos, MoveEntry* list, UndoRecord& record) {
  FindCheckers(pos, record);
  return record.checkers != 0 ? GenerateEvasions[pos.SideToMove](pos, list, record)
                              : GenerateAll[pos.SideToMove](pos, list);
}

bool IsGeneratedMove(Position& pos, Move move, UndoRecord& record) {
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = GenerateMovesOf(pos, list, record);
  return std::any_of(list, end, [move](const MoveEntry& entry) { return entry.move == move; });
}

bool IsGeneratedLegalMove(Position& pos, Move move) {
  if (move == NO_MOVE) return false;
  UndoRecord record{};
  if (!IsGeneratedMove(pos, move, record)) return false;
  int mover = static_cast<int>(pos.SideToMove);
  SavePositionForUndo(pos, record);
  MakeMove(pos, move, record);
  bool illegal = KingLeftInCheck(pos, move, mover);
  UnmakeMove(pos, move, record);
  return !illegal;
}
