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
MoveEntry* GeneratePly(Position& pos, UndoRecord& record) {
  FindCheckers(pos, record);
  MoveEntry* start = (&record - 1)->listEnd;
  record.listEnd = record.checkers ? GenerateEvasions[pos.SideToMove](pos, start, record)
                                   : GenerateAll[pos.SideToMove](pos, start);
  SavePositionForUndo(pos, record);
  return start;
}

// Makes every move of the current ply in list order and sums what visit
// returns for each legal one, called with the move made and the record's
// nextMove on it. The plies below run through OnePlyDown, which advances
// UndoTop: nothing at this ply reads it. Make and unmake are inlined here
// (flatten), which perft's speed owes much to.
template <typename Visit>
[[gnu::flatten]] u64 SumOverLegalMoves(Position& pos, Visit visit) {
  UndoRecord& record = *pos.UndoTop;
  int mover = static_cast<int>(pos.SideToMove);
  MoveEntry* const start = GeneratePly(pos, record);
  MoveEntry* const end = record.listEnd;
  u64 sum = 0;
  for (MoveEntry* entry = start; entry < end; ++entry) {
    Move move = entry->move;
    ++pos.MovesMade;
    MakeMove(pos, move, record);
    if (!KingLeftInCheck(pos, move, mover)) {
      record.nextMove = entry;
      sum += visit(move);
    }
    UnmakeMove(pos, move, record);
  }
  record.nextMove = end;
  return sum;
}

template <typename Count>
u64 OnePlyDown(Position& pos, Count count) {
  ++pos.UndoTop;
  u64 nodes = count();
  --pos.UndoTop;
  return nodes;
}

// The root list begins at the bottom of the move stack, on the record after UndoTop.
void EnterRoot(Position& pos) {
  pos.MovesMade = 0;
  pos.UndoTop->listEnd = MoveStack;
  ++pos.UndoTop;
}

void LeaveRoot(Position& pos) { --pos.UndoTop; }

}  // namespace

u64 Perft(Position& pos, int depth) {
  // The last ply only counts, with a loop of its own.
  if (depth <= 1) return SumOverLegalMoves(pos, [](Move) { return u64{1}; });
  return SumOverLegalMoves(pos, [&pos, depth](Move) { return 1 + OnePlyDown(pos, [&pos, depth] { return Perft(pos, depth - 1); }); });
}

u64 PerftLeaves(Position& pos, int depth) {
  if (depth <= 0) return 1;
  if (depth == 1) return SumOverLegalMoves(pos, [](Move) { return u64{1}; });
  return SumOverLegalMoves(pos, [&pos, depth](Move) { return OnePlyDown(pos, [&pos, depth] { return PerftLeaves(pos, depth - 1); }); });
}

void RunPerft(Position& pos, int depth) {
  depth = std::min(depth, PERFT_MAX_DEPTH);
  EnterRoot(pos);
  FindCheckers(pos, *pos.UndoTop);
  std::printf("ply\tduration\tnodes\n");
  u64 total = 0;
  for (int d = 1; d <= depth; ++d) {
    i64 start = ClockMs();
    u64 nodes = Perft(pos, d);
    double seconds = static_cast<double>(ClockMs() - start) / MS_PER_SECOND;
    std::printf("%d\t%2.1f\t%llu\n", d, seconds, static_cast<unsigned long long>(nodes));
    total += nodes;
  }
  LeaveRoot(pos);
  std::printf("total nodes: %llu\n", static_cast<unsigned long long>(total));
  std::printf("(total moves[32]: %u)\n", pos.MovesMade);
}

void RunDivide(Position& pos, int depth) {
  depth = std::min(depth, PERFT_MAX_DEPTH);
  u64 total = 0;
  if (depth >= 1) {
    EnterRoot(pos);
    total = SumOverLegalMoves(pos, [&pos, depth](Move move) {
      u64 leaves = OnePlyDown(pos, [&pos, depth] { return PerftLeaves(pos, depth - 1); });
      char text[MOVE_TEXT_SIZE];
      MoveToText(text, move);
      std::printf("%s: %llu\n", text, static_cast<unsigned long long>(leaves));
      return leaves;
    });
    LeaveRoot(pos);
  }
  std::printf("Nodes: %llu\n", static_cast<unsigned long long>(total));
}
