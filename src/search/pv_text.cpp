#include "search/pv_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/make_move.h"
#include "board/move_text.h"
#include "board/position.h"
#include "movegen/legal_moves.h"
#include "search/draw.h"
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

size_t WriteMoveAndRest(Position& pos, char* buffer, int plies, Move move);

// The game is drawn once a move of the line repeats a position for the third
// time or reaches the fifty-move rule: no move follows.
Move DrawnByLastMove(Position& pos) {
  const Move draw = DrawCheck(pos, ROOT_REPEATS);
  return draw == GAME_REPETITION || draw == GAME_FIFTY_MOVES ? draw : NO_MOVE;
}

// Returns the length of the moves written, each with its blank. The first
// move is firstMove when that is a legal move, else the table's.
size_t WriteLine(Position& pos, char* buffer, int plies, Move firstMove) {
  if (plies <= 0) {
    *buffer = '\0';
    return 0;
  }
  if (IsRealMove(firstMove) && IsGeneratedLegalMove(pos, firstMove))
    return WriteMoveAndRest(pos, buffer, plies, firstMove);
  const std::optional<TransEntry> entry = ProbeTransTable(pos);
  const Move move = entry ? EntryMove(*entry) : NO_MOVE;
  // A move that does not fit the position (a key collision) ends the line
  // as a missing entry does, before it can touch the board.
  if (!entry || (IsRealMove(move) && !IsGeneratedLegalMove(pos, move))) {
    std::strcpy(buffer, "NOE ");
    return 0;
  }
  if (!IsRealMove(move)) {
    WriteClosingText(buffer, move);
    return 0;
  }
  return WriteMoveAndRest(pos, buffer, plies, move);
}

size_t WriteMoveAndRest(Position& pos, char* buffer, int plies, Move move) {
  char* after = MoveToText(buffer, move);
  *after++ = ' ';
  UndoRecord& record = *pos.UndoTop;
  SavePositionForUndo(pos, record);
  MakeMove(pos, move, record);
  ++pos.UndoTop;
  size_t rest = 0;
  if (const Move draw = DrawnByLastMove(pos); draw != NO_MOVE) {
    std::strcpy(after, draw == GAME_REPETITION ? "1/2 - 1/2 (repetition)" : "1/2 - 1/2 (50 moves)");
  } else {
    rest = WriteLine(pos, after, plies - 1, NO_MOVE);
  }
  --pos.UndoTop;
  UnmakeMove(pos, move, record);
  return static_cast<size_t>(after - buffer) + rest;
}

}  // namespace

size_t PvToText(Position& pos, char* buffer, int plies, Move firstMove) {
  // Each move played takes the record at UndoTop; none is taken past the last.
  const int recordsLeft = static_cast<int>(pos.UndoRecords + PLY_RECORDS - pos.UndoTop);
  return WriteLine(pos, buffer, std::min({plies, PV_MAX_MOVES, recordsLeft}), firstMove);
}
