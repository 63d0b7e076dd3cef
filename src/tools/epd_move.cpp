#include "tools/epd_move.h"

#include "board/position.h"
#include "movegen/legal_moves.h"
#include "tools/san.h"

bool ReadEpdMove(Position& pos, const EpdOperation& operation) {
  pos.EpdBestMove = pos.EpdAvoidMove = NO_MOVE;
  if (operation.kind == EpdOperationKind::None) return true;
  Move move = ParseSanMove(pos, operation.moveText);
  // The parser checks little beyond the moving piece: a move that cannot be
  // played here is as unreadable as one that names nothing.
  if (!IsGeneratedLegalMove(pos, move)) return false;
  (operation.kind == EpdOperationKind::AvoidMove ? pos.EpdAvoidMove : pos.EpdBestMove) = move;
  return true;
}
