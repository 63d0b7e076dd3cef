#include "search/table_probe.h"

bool ProbeIntoRecord(Position& pos, UndoRecord& record) {
  const TransEntry* entry = ProbeTransTable(pos);
  if (entry == nullptr) {
    record.hashMove = NO_MOVE;
    record.ttDepth = 0;
    return false;
  }
  record.hashMove = EntryMove(*entry);
  record.ttScore = ScoreOutOfTable(EntryScore(*entry), CurrentPly(pos));
  record.ttBound = EntryBound(*entry);
  record.ttDepth = static_cast<u8>(EntryDepth(*entry));
  return true;
}
