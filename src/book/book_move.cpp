#include "book/book_move.h"

#include "board/check.h"
#include "board/make_move.h"
#include "book/byte_order.h"
#include "book/opening_book.h"
#include "platform/clock.h"
#include "movegen/legal_moves.h"

Move BookMove() { return BookMoveAt(ClockMs()); }

Move BookMoveAt(i64 clockMs) {
  Move candidates[MAX_LIST_MOVES];
  const int count = BookCandidates(candidates);
  if (count == 0) return NO_MOVE;
  return candidates[clockMs % count];
}

int BookCandidates(Move* candidates) {
  int bookSide = static_cast<int>(SideToMove ^ 1);
  if (EngineBook.RecordCount(bookSide) == 0) return 0;

  UndoRecord record{};
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = GenerateMovesOf(list, record);
  SavePositionForUndo(record);

  int count = 0;
  int mover = static_cast<int>(SideToMove);
  for (MoveEntry* entry = end; entry-- != list;) {
    MakeMove(entry->move, record);
    // A position reached by castling through check, say, can be in the book
    // by way of another move order: only legal moves are candidates.
    if (!KingLeftInCheck(entry->move, mover) &&
        EngineBook.BookContains(static_cast<int>(SideToMove), KeyLow(HashKey), KeyHigh(HashKey))) {
      candidates[count++] = entry->move;
    }
    UnmakeMove(entry->move, record);
  }
  return count;
}
