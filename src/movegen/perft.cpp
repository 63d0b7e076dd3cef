#include "movegen/perft.h"

#include <algorithm>
#include <cstdio>

#include "board/check.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "platform/clock.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"
#include "movegen/move_stack.h"

// The root takes the record after UndoTop and each ply one more.
static_assert(PERFT_MAX_DEPTH + 1 < PLY_RECORDS, "perft's deepest line fits the records");

namespace {

// Writes the list of the ply whose record is given, where the previous ply's
// list ends, and stores what unmaking its moves needs. Returns the list start.
MoveEntry* GeneratePly(UndoRecord& record) {
  FindCheckers(record);
  MoveEntry* start = (&record - 1)->listEnd;
  record.listEnd = record.checkers ? GenerateEvasions[SideToMove](start, record)
                                   : GenerateAll[SideToMove](start);
  SavePositionForUndo(record);
  return start;
}

// Makes every move of the current ply in list order and sums what visit
// returns for each legal one, called with the move made and the record's
// nextMove on it. The plies below run through OnePlyDown, which advances
// UndoTop: nothing at this ply reads it. Make and unmake are inlined here
// (flatten), which perft's speed owes much to.
template <typename Visit>
[[gnu::flatten]] u64 SumOverLegalMoves(Visit visit) {
  UndoRecord& record = *UndoTop;
  int mover = static_cast<int>(SideToMove);
  MoveEntry* const start = GeneratePly(record);
  MoveEntry* const end = record.listEnd;
  u64 sum = 0;
  for (MoveEntry* entry = start; entry < end; ++entry) {
    Move move = entry->move;
    ++MovesMade;
    MakeMove(move, record);
    if (!KingLeftInCheck(move, mover)) {
      record.nextMove = entry;
      sum += visit(move);
    }
    UnmakeMove(move, record);
  }
  record.nextMove = end;
  return sum;
}

template <typename Count>
u64 OnePlyDown(Count count) {
  ++UndoTop;
  u64 nodes = count();
  --UndoTop;
  return nodes;
}

// The root list begins at the bottom of the move stack, on the record after UndoTop.
void EnterRoot() {
  MovesMade = 0;
  UndoTop->listEnd = MoveStack;
  ++UndoTop;
}

void LeaveRoot() { --UndoTop; }

}  // namespace

u64 Perft(int depth) {
  // The last ply only counts, with a loop of its own.
  if (depth <= 1) return SumOverLegalMoves([](Move) { return u64{1}; });
  return SumOverLegalMoves([depth](Move) { return 1 + OnePlyDown([depth] { return Perft(depth - 1); }); });
}

u64 PerftLeaves(int depth) {
  if (depth <= 0) return 1;
  if (depth == 1) return SumOverLegalMoves([](Move) { return u64{1}; });
  return SumOverLegalMoves([depth](Move) { return OnePlyDown([depth] { return PerftLeaves(depth - 1); }); });
}

void RunPerft(int depth) {
  depth = std::min(depth, PERFT_MAX_DEPTH);
  EnterRoot();
  FindCheckers(*UndoTop);
  std::printf("ply\tduration\tnodes\n");
  u64 total = 0;
  for (int d = 1; d <= depth; ++d) {
    i64 start = ClockMs();
    u64 nodes = Perft(d);
    double seconds = static_cast<double>(ClockMs() - start) / MS_PER_SECOND;
    std::printf("%d\t%2.1f\t%llu\n", d, seconds, static_cast<unsigned long long>(nodes));
    total += nodes;
  }
  LeaveRoot();
  std::printf("total nodes: %llu\n", static_cast<unsigned long long>(total));
  std::printf("(total moves[32]: %u)\n", MovesMade);
}

void RunDivide(int depth) {
  depth = std::min(depth, PERFT_MAX_DEPTH);
  u64 total = 0;
  if (depth >= 1) {
    EnterRoot();
    total = SumOverLegalMoves([depth](Move move) {
      u64 leaves = OnePlyDown([depth] { return PerftLeaves(depth - 1); });
      char text[MOVE_TEXT_SIZE];
      MoveToText(text, move);
      std::printf("%s: %llu\n", text, static_cast<unsigned long long>(leaves));
      return leaves;
    });
    LeaveRoot();
  }
  std::printf("Nodes: %llu\n", static_cast<unsigned long long>(total));
}
