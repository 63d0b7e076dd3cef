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

void WriteLine(char* buffer, int plies) {
  if (plies <= 0) {
    *buffer = '\0';
    return;
  }
  const TransEntry* entry = ProbeTransTable();
  const Move move = entry ? EntryMove(*entry) : NO_MOVE;
  // A move that does not fit the position (a key collision) ends the line
  // as a missing entry does, before it can touch the board.
  if (entry == nullptr || (IsRealMove(move) && !IsGeneratedLegalMove(move))) {
    std::strcpy(buffer, "NOE ");
    return;
  }
  if (!IsRealMove(move)) {
    WriteClosingText(buffer, move);
    return;
  }
  char* after = MoveToText(buffer, move);
  *after++ = ' ';
  UndoRecord& record = *UndoTop;
  SavePositionForUndo(record);
  MakeMove(move, record);
  ++UndoTop;
  WriteLine(after, plies - 1);
  --UndoTop;
  UnmakeMove(move, record);
}

}  // namespace

void PvToText(char* buffer, int plies) {
  // Each move played takes the record at UndoTop; none is taken past the last.
  const int recordsLeft = static_cast<int>(UndoRecords + PLY_RECORDS - UndoTop);
  WriteLine(buffer, std::min({plies, PV_MAX_MOVES, recordsLeft}));
}

namespace {

// "e2e4" or "e7e8q" up to the blank that ends it.
size_t MoveTextLength(const char* text) {
  if (SquareOfText(text) == NO_SQUARE || SquareOfText(text + 2) == NO_SQUARE) return 0;
  if (text[4] == ' ' || text[4] == '\0') return 4;
  if (std::strchr("qrbn", text[4]) && text[4] != '\0' && (text[5] == ' ' || text[5] == '\0')) return 5;
  return 0;
}

}  // namespace

void PvMovesOnly(const char* pvText, char* buffer, size_t size) {
  size_t written = 0;
  for (size_t length; (length = MoveTextLength(pvText)) != 0 && written + length + 1 < size;) {
    std::memcpy(buffer + written, pvText, length);
    written += length;
    buffer[written++] = ' ';
    pvText += length;
    while (*pvText == ' ') ++pvText;
  }
  buffer[written] = '\0';
}
