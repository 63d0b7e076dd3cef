// A snapshot of a position, to compare after a round trip (make/unmake, a
// pass, a search).
#pragma once

#include <algorithm>
#include <array>
#include <iterator>

#include "board/position.h"

// Everything a position is made of. (The move slot of the current history
// entry is not: like make, a pass leaves its marker there after it is taken
// back.)
struct WholePosition {
  u32 side;
  std::array<u64, 2> keys;
  std::array<u8, 3> squares;  // en passant, both kings
  u16 castleRights;
  const HistoryEntry* top;
  HistoryEntry topEntry;
  std::array<u8, SQUARE_COUNT> board;
  std::array<u64, 11> pieces;
  std::array<u64, 2> colours;
  std::array<u64, 4> occupancy;
  std::array<u8, 5> counters;

  static WholePosition Take() {
    WholePosition position{};
    position.side = SideToMove;
    position.keys = {HashKey, PawnHashKey};
    position.squares = {EnPassantSquare, KingSquare[BLACK], KingSquare[WHITE]};
    position.castleRights = CastleRights;
    position.top = HistoryTop;
    position.topEntry = *HistoryTop;
    std::copy(std::begin(Board), std::end(Board), position.board.begin());
    std::copy(std::begin(PieceBB), std::end(PieceBB), position.pieces.begin());
    std::copy(std::begin(ColourBB), std::end(ColourBB), position.colours.begin());
    position.occupancy = {Occupied, OccupiedByFile, OccupiedDiagUp, OccupiedDiagDown};
    position.counters = {TotalMaterial, PieceMaterial[0], PieceMaterial[1], PawnCount[0], PawnCount[1]};
    return position;
  }
  bool operator==(const WholePosition& other) const {
    return side == other.side && keys == other.keys && squares == other.squares &&
           castleRights == other.castleRights && top == other.top &&
           topEntry.key == other.topEntry.key && topEntry.fifty == other.topEntry.fifty && board == other.board && pieces == other.pieces &&
           colours == other.colours && occupancy == other.occupancy && counters == other.counters;
  }
};
