#include "support/position_snapshot.h"

#include "board/position.h"

namespace {

struct Variable {
  const char* name;
  const void* at;
  size_t size;
};

// Each variable by its name, address and size.
#define VARIABLE(name) Variable{#name, &name, sizeof name}
const Variable VARIABLES[] = {
    VARIABLE(SideToMove), VARIABLE(Board), VARIABLE(PieceBB), VARIABLE(ColourBB), VARIABLE(Occupied),
    VARIABLE(OccupiedByFile), VARIABLE(OccupiedDiagUp), VARIABLE(OccupiedDiagDown), VARIABLE(KingSquare),
    VARIABLE(CastleRights), VARIABLE(EnPassantSquare), VARIABLE(TotalMaterial), VARIABLE(PieceMaterial),
    VARIABLE(PawnCount), VARIABLE(HashKey), VARIABLE(PawnHashKey), VARIABLE(HistoryTop), VARIABLE(GameBoard),
    VARIABLE(GameSideToMove), VARIABLE(GameCastleRights), VARIABLE(GameEnPassantSquare),
    VARIABLE(GameWhiteKingSquare), VARIABLE(GameBlackKingSquare), VARIABLE(GameMoveCount),
    VARIABLE(EpdBestMove), VARIABLE(EpdAvoidMove),
};
#undef VARIABLE

template <typename T>
void Append(std::string& bytes, const T& value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

PositionSnapshot TakePositionSnapshot() {
  PositionSnapshot snapshot;
  for (const Variable& variable : VARIABLES) snapshot.emplace_back(static_cast<const char*>(variable.at), variable.size);
  std::string history;
  for (const HistoryEntry* entry = History; entry <= HistoryTop; ++entry) {
    Append(history, entry->key);
    Append(history, entry == HistoryTop ? NO_MOVE : entry->move);
    Append(history, entry->fifty);
  }
  snapshot.push_back(history);
  return snapshot;
}

std::string Differences(const PositionSnapshot& before, const PositionSnapshot& after) {
  std::string names;
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    names += names.empty() ? "" : ", ";
    names += i < std::size(VARIABLES) ? VARIABLES[i].name : "History";
  }
  return names;
}
