#include "movegen/perft.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "board/check.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "platform/clock.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"
#include "movegen/move_stack.h"

// The root takes the record at UndoTop and each ply one more.
static_assert(PERFT_MAX_DEPTH < PLY_RECORDS, "perft's deepest line fits the records");

namespace {

// Writes the current ply's list from start on and stores what unmaking its
// moves needs. Returns the list's end, where the next ply's list starts.
MoveEntry* GeneratePly(Position& pos, UndoRecord& record, MoveEntry* start) {
  FindCheckers(pos, record);
  MoveEntry* const end =
      record.checkers ? GenerateEvasions[pos.SideToMove](pos, start, record) : GenerateAll[pos.SideToMove](pos, start);
  SavePositionForUndo(pos, record);
  return end;
}

// Makes every move of the current ply in list order and sums what visit
// returns for each legal one, called with the move made and where the next
// ply's list starts. The plies below run through OnePlyDown, which advances
// UndoTop: nothing at this ply reads it. Make and unmake are inlined here
// (flatten), which perft's speed owes much to.
template <typename Visit>
[[gnu::flatten]] u64 SumOverLegalMoves(Position& pos, MoveEntry* start, Visit visit) {
  UndoRecord& record = *pos.UndoTop;
  int mover = static_cast<int>(pos.SideToMove);
  MoveEntry* const end = GeneratePly(pos, record, start);
  u64 sum = 0;
  for (MoveEntry* entry = start; entry < end; ++entry) {
    Move move = entry->move;
    ++pos.MovesMade;
    MakeMove(pos, move, record);
    if (!KingLeftInCheck(pos, move, mover)) sum += visit(move, end);
    UnmakeMove(pos, move, record);
  }
  return sum;
}

template <typename Count>
u64 OnePlyDown(Position& pos, Count count) {
  ++pos.UndoTop;
  u64 nodes = count();
  --pos.UndoTop;
  return nodes;
}

u64 PerftFrom(Position& pos, int depth, MoveEntry* start) {
  // The last ply only counts, with a loop of its own.
  if (depth <= 1) return SumOverLegalMoves(pos, start, [](Move, MoveEntry*) { return u64{1}; });
  return SumOverLegalMoves(pos, start, [&pos, depth](Move, MoveEntry* next) {
    return 1 + OnePlyDown(pos, [&pos, depth, next] { return PerftFrom(pos, depth - 1, next); });
  });
}

u64 PerftLeavesFrom(Position& pos, int depth, MoveEntry* start) {
  if (depth <= 0) return 1;
  if (depth == 1) return SumOverLegalMoves(pos, start, [](Move, MoveEntry*) { return u64{1}; });
  return SumOverLegalMoves(pos, start, [&pos, depth](Move, MoveEntry* next) {
    return OnePlyDown(pos, [&pos, depth, next] { return PerftLeavesFrom(pos, depth - 1, next); });
  });
}

// Room for the lists of every ply of a walk depth plies deep.
std::vector<MoveEntry> ListsFor(int depth) {
  return std::vector<MoveEntry>(static_cast<size_t>(std::max(depth, 1) + 1) * MAX_LIST_MOVES);
}

}  // namespace

u64 Perft(Position& pos, int depth) { return PerftFrom(pos, depth, ListsFor(depth).data()); }

u64 PerftLeaves(Position& pos, int depth) { return PerftLeavesFrom(pos, depth, ListsFor(depth).data()); }

void RunPerft(Position& pos, int depth) {
  depth = std::min(depth, PERFT_MAX_DEPTH);
  pos.MovesMade = 0;
  std::printf("ply\tduration\tnodes\n");
  u64 total = 0;
  for (int d = 1; d <= depth; ++d) {
    i64 start = ClockMs();
    u64 nodes = Perft(pos, d);
    double seconds = static_cast<double>(ClockMs() - start) / MS_PER_SECOND;
    std::printf("%d\t%2.1f\t%llu\n", d, seconds, static_cast<unsigned long long>(nodes));
    total += nodes;
  }
  std::printf("total nodes: %llu\n", static_cast<unsigned long long>(total));
  std::printf("(total moves[32]: %u)\n", pos.MovesMade);
}

void RunDivide(Position& pos, int depth) {
  depth = std::min(depth, PERFT_MAX_DEPTH);
  u64 total = 0;
  if (depth >= 1) {
    pos.MovesMade = 0;
    std::vector<MoveEntry> lists = ListsFor(depth);
    total = SumOverLegalMoves(pos, lists.data(), [&pos, depth](Move move, MoveEntry* next) {
      u64 leaves = OnePlyDown(pos, [&pos, depth, next] { return PerftLeavesFrom(pos, depth - 1, next); });
      char text[MOVE_TEXT_SIZE];
      MoveToText(text, move);
      std::printf("%s: %llu\n", text, static_cast<unsigned long long>(leaves));
      return leaves;
    });
  }
  std::printf("Nodes: %llu\n", static_cast<unsigned long long>(total));
}
