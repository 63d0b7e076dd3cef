#include "mate_solver.h"

#include <algorithm>
#include <iterator>

#include "board/check.h"
#include "board/make_move.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"

namespace {

// Makes move with a record of its own for the time visit runs; false, with
// nothing visited, when the move leaves the mover's king attacked.
template <typename Visit>
bool WithMoveMade(Move move, Visit visit) {
  UndoRecord record{};
  SavePositionForUndo(record);
  const int mover = static_cast<int>(SideToMove);
  MakeMove(move, record);
  const bool legal = !KingLeftInCheck(move, mover);
  if (legal) visit();
  UnmakeMove(move, record);
  return legal;
}

bool InCheck() {
  UndoRecord record{};
  FindCheckers(record);
  return record.checkers != 0;
}

}  // namespace

std::vector<Move> LegalMoves() {
  MoveEntry list[MAX_LIST_MOVES];
  UndoRecord record{};
  FindCheckers(record);
  MoveEntry* end = record.checkers ? GenerateEvasions[SideToMove](list, record) : GenerateAll[SideToMove](list);
  std::vector<Move> moves;
  for (const MoveEntry* entry = list; entry < end; ++entry) {
    if (WithMoveMade(entry->move, [] {})) moves.push_back(entry->move);
  }
  return moves;
}

bool IsCheckmate() { return InCheck() && LegalMoves().empty(); }

bool MoveForcesMateWithin(Move move, int moves) {
  bool forced = false;
  WithMoveMade(move, [&] {
    if (IsCheckmate()) {
      forced = true;
      return;
    }
    const std::vector<Move> replies = LegalMoves();
    if (moves <= 1 || replies.empty()) return;  // no mate, or stalemate
    forced = std::all_of(replies.begin(), replies.end(), [&](Move reply) {
      bool mated = false;
      WithMoveMade(reply, [&] { mated = ForcesMateWithin(moves - 1); });
      return mated;
    });
  });
  return forced;
}

bool ForcesMateWithin(int moves) {
  const std::vector<Move> candidates = LegalMoves();
  return std::any_of(candidates.begin(), candidates.end(),
                     [moves](Move move) { return MoveForcesMateWithin(move, moves); });
}
