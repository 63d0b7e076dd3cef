#include "book/book_move.h"

#include "board/check.h"
#include "board/make_move.h"
#include "book/byte_order.h"
#include "book/opening_book.h"
#include "platform/clock.h"
#include "movegen/legal_moves.h"

Move BookMove(Position& pos) { return BookMoveAt(pos, ClockMs()); }

Move BookMoveAt(Position& pos, i64 clockMs) {
  Move candidates[MAX_LIST_MOVES];
  const int count = BookCandidates(pos, candidates);
  if (count == 0) return NO_MOVE;
  return candidates[clockMs % count];
}

int BookCandidates(Position& pos, Move* candidates) {
  int bookSide = static_cast<int>(pos.SideToMove ^ 1);
  if (EngineBook.RecordCount(bookSide) == 0) return 0;

  UndoRecord record{};
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = GenerateMovesOf(pos, list, record);
  SavePositionForUndo(pos, record);

  int count = 0;
  int mover = static_cast<int>(pos.SideToMove);
  for (MoveEntry* entry = end; entry-- != list;) {
    MakeMove(pos, entry->move, record);
    // A position reached by castling through check, say, can be in the book
    // by way of another move order: only legal moves are candidates.
    if (!KingLeftInCheck(pos, entry->move, mover) &&
        EngineBook.BookContains(static_cast<int>(pos.SideToMove), KeyLow(pos.HashKey), KeyHigh(pos.HashKey))) {
      candidates[count++] = entry->move;
    }
    UnmakeMove(pos, entry->move, record);
  }
  return count;
}
