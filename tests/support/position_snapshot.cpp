#include "support/position_snapshot.h"

#include "board/position.h"

namespace {

// Each field by its name and its bytes.
struct Variable {
  const char* name;
  std::string (*bytes)(const Position& pos);
};
#define VARIABLE(field)                                                                                              \
  Variable {                                                                                                         \
#field,                                                                                                          \
        [](const Position& pos) { return std::string(reinterpret_cast<const char*>(&pos.field), sizeof pos.field); } \
  }
const Variable VARIABLES[] = {
    VARIABLE(SideToMove),
    VARIABLE(Board),
    VARIABLE(PieceBB),
    VARIABLE(ColourBB),
    VARIABLE(Occupied),
    VARIABLE(OccupiedByFile),
    VARIABLE(OccupiedDiagUp),
    VARIABLE(OccupiedDiagDown),
    VARIABLE(KingSquare),
    VARIABLE(CastleRights),
    VARIABLE(EnPassantSquare),
    VARIABLE(TotalMaterial),
    VARIABLE(PieceMaterial),
    VARIABLE(PawnCount),
    VARIABLE(HashKey),
    VARIABLE(PawnHashKey),
    VARIABLE(GameBoard),
    VARIABLE(GameSideToMove),
    VARIABLE(GameCastleRights),
    VARIABLE(GameEnPassantSquare),
    VARIABLE(GameWhiteKingSquare),
    VARIABLE(GameBlackKingSquare),
    VARIABLE(GameMoveCount),
    VARIABLE(EpdBestMove),
    VARIABLE(EpdAvoidMove),
};
#undef VARIABLE

}  // namespace

PositionSnapshot TakePositionSnapshot(const Position& pos) {
  PositionSnapshot snapshot;
  for (const Variable& v : VARIABLES) snapshot.push_back(v.bytes(pos));
  std::string history;
  for (const HistoryEntry* entry = pos.History; entry <= pos.HistoryTop; ++entry) {
    const u64 fields[] = {entry->key, entry == pos.HistoryTop ? u64{NO_MOVE} : entry->move, entry->fifty};
    history.append(reinterpret_cast<const char*>(fields), sizeof fields);
  }
  snapshot.push_back(history);
  return snapshot;
}

std::string Differences(const PositionSnapshot& before, const PositionSnapshot& after) {
  std::string names;
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    names += std::string(names.empty() ? "" : ", ") + (i < std::size(VARIABLES) ? VARIABLES[i].name : "History");
  }
  return names;
}
