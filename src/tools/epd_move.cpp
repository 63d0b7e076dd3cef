#include "tools/epd_move.h"

#include <cstdio>

#include "board/position.h"
#include "tools/san.h"

bool ReadEpdMove(const EpdOperation& operation) {
  EpdBestMove = EpdAvoidMove = NO_MOVE;
  if (operation.kind == EpdOperationKind::None) return true;
  Move move = ParseSanMove(operation.moveText);
  if (move == NO_MOVE) {
    std::printf("Warning cannot recognize move: %s\r\n", operation.moveText);
    return false;
  }
  (operation.kind == EpdOperationKind::AvoidMove ? EpdAvoidMove : EpdBestMove) = move;
  return true;
}
