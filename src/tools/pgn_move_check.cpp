#include "tools/pgn_move_check.h"

#include "board/check.h"
#include "board/move_validity.h"

// Until the generators are in: the validity test they agree with.
bool IsGeneratedMove(Move move, UndoRecord& record) {
  FindCheckers(record);
  return IsMoveValid(move);
}
