// The order in which AlphaBeta and the root try their moves: the table's move,
// then by ordering score while it is at least -10000 (good captures and queen
// promotions, the killers just below them), then the rest (quiet moves, poor
// captures, under-promotions) by the history counters added to their scores.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "board/position.h"
#include "movegen/move_stack.h"
#include "search/search_kind.h"
#include "search/search_stack.h"
#include "search/search_state.h"
#include "search/searcher.h"

constexpr i16 HASH_MOVE_SCORE = 30000;
constexpr i16 FIRST_KILLER_SCORE = -9998;
constexpr i16 SECOND_KILLER_SCORE = -9999;
constexpr i16 COUNTER_MOVE_SCORE = -10000;
// Entries scored at least this are picked by their score alone.
constexpr i16 PICK_BY_SCORE_FLOOR = -10000;
// Lifts every ordering score above zero in the history keys.
constexpr int HISTORY_KEY_OFFSET = 33000;

// Gives the table's move and the two killers of the record their marks,
// replacing the scores the generator gave them.
void MarkHashAndKillers(MoveEntry* start, MoveEntry* end, const PlyRecord& node);

// The piece that made the move leading to the current position (as it stands
// now, promoted or not) and the square it went to.
struct PieceOnSquare {
  int piece;
  int square;
};

// The last move made, or nothing at the position loaded and after a null move.
inline std::optional<PieceOnSquare> LastMoveMade(const Position& pos) {
  if (AtLoadedPosition(pos)) return std::nullopt;
  const Move last = (pos.HistoryTop - 1)->move;
  if (MoveKind(last) == KIND_NOT_A_MOVE) return std::nullopt;
  return PieceOnSquare{pos.Board[MoveTo(last)], MoveTo(last)};
}

// The slot in CounterMoves of the move that led to the current position, or
// nullptr where there is no such move.
inline Move* CounterMoveSlot(Searcher& s, Position& pos) {
  const std::optional<PieceOnSquare> last = LastMoveMade(pos);
  return last ? &s.CounterMoves[last->piece][last->square] : nullptr;
}

// The continuation history's row of the move that led to the current
// position, or nullptr where there is no such move.
inline ContinuationRow* ContinuationRowOf(Searcher& s, Position& pos) {
  const std::optional<PieceOnSquare> last = LastMoveMade(pos);
  return last ? &s.ContinuationHistory[last->piece][last->square] : nullptr;
}

// A quiet move's counter in a row: by the piece that makes it and where it goes.
inline int ContinuationSlot(const Position& pos, Move move) { return pos.Board[MoveFrom(move)] * SQUARE_COUNT + MoveTo(move); }

// Gives the counter move of the last move, when it is in the list and not
// marked already, its mark: right after the killers.
void MarkCounterMove(Searcher& s, Position& pos, MoveEntry* start, MoveEntry* end);

// A list being tried: entries before next have been picked. Once keyed, the
// record's orderKeys hold the key of each entry from next on, at the entry's
// distance from start (no list is longer than the keys).
struct MoveOrder {
  MoveEntry* start;
  MoveEntry* next;
  MoveEntry* end;
  u32* keys;
  bool keyed;
};

inline MoveOrder OrderOfList(MoveEntry* start, PlyRecord& node) {
  return {start, start, node.listEnd, node.orderKeys, false};
}

// What a quiet move (not a castling) of the side to move gains on its piece's
// square table, from the mover's side; 0 for any other move. The modern search
// may add it to the history key: among quiet moves of equal history, the one
// to the better square first.
int QuietMoveSquareGain(Position& pos, Move move);

// Computes the history key of every entry still to be picked.
void KeyRemainingMoves(Searcher& s, Position& pos, MoveOrder& order);

// The next entry to try, swapped into place, or nullptr when all were tried.
// Ties go to the entry that stands first.
inline MoveEntry* PickNextMove(Searcher& s, Position& pos, MoveOrder& order) {
  MoveEntry* const next = order.next;
  if (next >= order.end) return nullptr;
  if (!order.keyed) {
    MoveEntry* best = next;
    for (MoveEntry* entry = next + 1; entry < order.end; ++entry) {
      if (entry->score > best->score) best = entry;
    }
    if (best->score >= PICK_BY_SCORE_FLOOR) {
      std::swap(*best, *next);
      ++order.next;
      return next;
    }
    KeyRemainingMoves(s, pos, order);
  }
  u32* const keys = order.keys;
  const auto first = next - order.start;
  auto best = first;
  const auto count = order.end - order.start;
  for (auto i = first + 1; i < count; ++i) {
    if (keys[i] > keys[best]) best = i;
  }
  std::swap(order.start[best], *next);
  std::swap(keys[best], keys[first]);
  ++order.next;
  return next;
}

constexpr bool IsQuietOrCastling(Move move) {
  return MoveKind(move) == KIND_QUIET || IsCastling(move);
}

// A move that cut the search off becomes the first killer of its ply, the
// old first one the second (nothing changes when it is the first already).
inline void RememberKiller(PlyRecord& node, Move move) {
  if (move == node.killer1) return;
  node.killer2 = node.killer1;
  node.killer1 = move;
}

// What a cut-off at that depth moves a bounded history counter by.
constexpr int MAX_HISTORY_BONUS = 1600;
inline int HistoryBonus(int depth) { return std::min(depth * depth, MAX_HISTORY_BONUS); }

// Moves a bounded history counter by change, less the more it already
// stands on that side.
inline void NudgeHistory(i16& counter, int change) {
  counter = static_cast<i16>(counter + change - counter * std::abs(change) / HISTORY_LIMIT);
}

// What a cut-off at a node of the given depth teaches: quiet moves and
// castlings become killers, and every move's history counter grows by depth².
inline void RewardCutoff(Searcher& s, Position& pos, PlyRecord& node, Move move, int depth) {
  if (IsQuietOrCastling(move)) RememberKiller(node, move);
  if (Uses(*s.Limits, BOUNDED_HISTORY)) {
    NudgeHistory(s.BoundedHistory[pos.SideToMove][move & HISTORY_MOVE_MASK], HistoryBonus(depth));
  } else {
    s.HistoryScores[pos.SideToMove][move & HISTORY_MOVE_MASK] += static_cast<u32>(depth * depth);
  }
}

// After a quiet cut-off, the continuation history of the last move gains the
// cut-off's bonus for the move that cut off and loses it for each quiet move
// tried before it (from tried up to the cut-off's entry).
void UpdateContinuationHistory(Searcher& s, Position& pos, const MoveEntry* tried, const MoveEntry* cutoff, int depth);

// After a quiet cut-off, the quiet moves tried before it (from tried up to
// the cut-off's entry) lose in the bounded history what the cut-off gained.
void PunishQuietMovesBefore(Searcher& s, Position& pos, const MoveEntry* tried, const MoveEntry* cutoff, int depth);
