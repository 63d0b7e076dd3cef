#include "tools/epd_move.h"

#include "board/position.h"
#include "movegen/legal_moves.h"
#include "tools/san.h"

bool ReadEpdMove(const EpdOperation& operation) {
  EpdBestMove = EpdAvoidMove = NO_MOVE;
  if (operation.kind == EpdOperationKind::None) return true;
  Move move = ParseSanMove(operation.moveText);
  // The parser checks little beyond the moving piece: a move that cannot be
  // played here is as unreadable as one that names nothing.
  if (!IsGeneratedLegalMove(move)) return false;
  (operation.kind == EpdOperationKind::AvoidMove ? EpdAvoidMove : EpdBestMove) = move;
  return true;
}
