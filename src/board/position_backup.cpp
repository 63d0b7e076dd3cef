#include "board/position_backup.h"

void PositionCopy::Take(const Position& pos) {
  fields_ = pos;
  taken_ = true;
  historyDepth_ = pos.HistoryTop - pos.History;
}

void PositionCopy::PutBack(Position& pos) const {
  if (!Taken()) return;
  static_cast<PositionFields&>(pos) = fields_;
  pos.HistoryTop = pos.History + historyDepth_;
}
