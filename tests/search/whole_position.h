// Everything a position is made of, to compare after a round trip (make/unmake, a pass, a search);
// of the current history entry the key and fifty count (a pass, like make, marks the move slot).
#pragma once

#include <cstring>
#include <vector>

#include "board/position.h"

struct WholePosition {
  std::vector<u8> bytes;

  template <typename... Variables>
  static WholePosition Of(const Variables&... variables) {
    WholePosition position{std::vector<u8>((sizeof variables + ...))};
    u8* out = position.bytes.data();
    ((std::memcpy(out, &variables, sizeof variables), out += sizeof variables), ...);
    return position;
  }
  static WholePosition Take() {
    return Of(SideToMove, HashKey, PawnHashKey, EnPassantSquare, KingSquare, CastleRights, HistoryTop, HistoryTop->key,
              HistoryTop->fifty, Board, PieceBB, ColourBB, Occupied, OccupiedByFile, OccupiedDiagUp,
              OccupiedDiagDown, TotalMaterial, PieceMaterial, PawnCount);
  }
  bool operator==(const WholePosition&) const = default;
};
