#include "search/table_probe.h"

#include "search/search_stack.h"

bool ProbeIntoRecord(Position& pos, PlyRecord& node) {
  const std::optional<TransEntry> entry = ProbeTransTable(pos);
  if (!entry) {
    node.hashMove = NO_MOVE;
    node.ttDepth = 0;
    return false;
  }
  node.hashMove = EntryMove(*entry);
  node.ttScore = ScoreOutOfTable(EntryScore(*entry), CurrentPly(pos));
  node.ttBound = EntryBound(*entry);
  node.ttDepth = static_cast<u8>(EntryDepth(*entry));
  return true;
}
