#include "search/pv_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/make_move.h"
#include "board/move_text.h"
#include "board/position.h"
#include "movegen/legal_moves.h"
#include "search/trans_table.h"

namespace {

// Room for the longest closing text and its NUL.
constexpr size_t CLOSING_TEXT_SIZE = 24;

// The text that ends the line at a position whose entry holds no move to play.
void WriteClosingText(char* buffer, Move move) {
  switch (move) {
    case GAME_MATED:
      std::strcpy(buffer, "# ");
      break;
    case GAME_STALEMATE:
      std::strcpy(buffer, "1/2 - 1/2 (stalemate)");
      break;
    case GAME_REPETITION:
      std::strcpy(buffer, "1/2 - 1/2 (repetition)");
      break;
    case MOVE_NULL:
      std::strcpy(buffer, "NULL");
      break;
    default:
      std::snprintf(buffer, CLOSING_TEXT_SIZE, "ERROR: %x", static_cast<unsigned>(move));
  }
}

bool IsRealMove(Move move) { return move != NO_MOVE && MoveKind(move) != KIND_NOT_A_MOVE; }

// Returns the length of the moves written, each with its blank.
size_t WriteLine(char* buffer, int plies) {
  if (plies <= 0) {
    *buffer = '\0';
    return 0;
  }
  const TransEntry* entry = ProbeTransTable();
  const Move move = entry ? EntryMove(*entry) : NO_MOVE;
  // A move that does not fit the position (a key collision) ends the line
  // as a missing entry does, before it can touch the board.
  if (entry == nullptr || (IsRealMove(move) && !IsGeneratedLegalMove(move))) {
    std::strcpy(buffer, "NOE ");
    return 0;
  }
  if (!IsRealMove(move)) {
    WriteClosingText(buffer, move);
    return 0;
  }
  char* after = MoveToText(buffer, move);
  *after++ = ' ';
  UndoRecord& record = *UndoTop;
  SavePositionForUndo(record);
  MakeMove(move, record);
  ++UndoTop;
  const size_t rest = WriteLine(after, plies - 1);
  --UndoTop;
  UnmakeMove(move, record);
  return static_cast<size_t>(after - buffer) + rest;
}

}  // namespace

size_t PvToText(char* buffer, int plies) {
  // Each move played takes the record at UndoTop; none is taken past the last.
  const int recordsLeft = static_cast<int>(UndoRecords + PLY_RECORDS - UndoTop);
  return WriteLine(buffer, std::min({plies, PV_MAX_MOVES, recordsLeft}));
}
