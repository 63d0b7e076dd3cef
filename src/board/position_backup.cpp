#include "board/position_backup.h"

#include <cstring>

#include "board/position.h"

namespace {

struct Region {
  void* address;
  size_t size;
};

template <typename T>
constexpr Region RegionOf(T& variable) {
  return {&variable, sizeof variable};
}

constexpr Region SavedRegions[] = {
    RegionOf(SideToMove),      RegionOf(Board),           RegionOf(PieceBB),
    RegionOf(ColourBB),        RegionOf(Occupied),        RegionOf(OccupiedByFile),
    RegionOf(OccupiedDiagUp),  RegionOf(OccupiedDiagDown), RegionOf(KingSquare),
    RegionOf(CastleRights),    RegionOf(EnPassantSquare), RegionOf(TotalMaterial),
    RegionOf(PieceMaterial),   RegionOf(PawnCount),       RegionOf(HashKey),
    RegionOf(PawnHashKey),     RegionOf(History),         RegionOf(HistoryTop),
    RegionOf(GameBoard),       RegionOf(GameSideToMove),  RegionOf(GameCastleRights),
    RegionOf(GameEnPassantSquare), RegionOf(GameWhiteKingSquare), RegionOf(GameBlackKingSquare),
    RegionOf(GameMoveCount),   RegionOf(EpdBestMove),     RegionOf(EpdAvoidMove),
};

constexpr size_t SavedSize() {
  size_t total = 0;
  for (const Region& region : SavedRegions) total += region.size;
  return total;
}

PositionCopy LoaderCopy;

}  // namespace

void PositionCopy::Take() {
  bytes_.resize(SavedSize());
  unsigned char* place = bytes_.data();
  for (const Region& region : SavedRegions) {
    std::memcpy(place, region.address, region.size);
    place += region.size;
  }
}

void PositionCopy::PutBack() const {
  if (!Taken()) return;
  const unsigned char* place = bytes_.data();
  for (const Region& region : SavedRegions) {
    std::memcpy(region.address, place, region.size);
    place += region.size;
  }
}

void BackUpPosition() { LoaderCopy.Take(); }

void RestorePosition() { LoaderCopy.PutBack(); }
