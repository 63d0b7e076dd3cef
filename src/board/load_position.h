// Loading a position from a FEN or EPD line: the only way a new position starts.
#pragma once

#include <cstddef>

#include "board/position.h"
#include "board/types.h"

// The position every game starts from.
inline constexpr const char* INITIAL_POSITION = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// A "bm" (best move) or "am" (avoid move) operation of an EPD line.
enum class EpdOperationKind { None, BestMove, AvoidMove };
constexpr size_t EPD_MOVE_TEXT_SIZE = 10;  // nine characters and the NUL

struct EpdOperation {
  EpdOperationKind kind;
  char moveText[EPD_MOVE_TEXT_SIZE];
};

// Sets up the position of a FEN or EPD line (of the move-number fields, the
// half-move clock counts toward the fifty-move rule), starts a new history and
// game copy, counts as a load, and finds the line's "bm" or "am" operation
// (kind None when it has none; the move itself is read where moves are
// parsed). False, with everything left as it was, for text that does not
// parse or a position that no game can reach (see position_soundness.h).
// Castling rights and en-passant squares that are impossible are read as
// absent. The key is made of the pieces alone: the rights and en-passant
// square read add no key. What the search learnt is the caller's to forget.
bool LoadBoard(Position& pos, const char* text, EpdOperation& operation);

// LoadBoard for a caller with no use for an EPD operation.
bool LoadBoard(Position& pos, const char* text);

// LoadBoard for a tool that walks many positions: no EPD operation is read,
// and the position does not count as loaded.
bool SetUpPosition(Position& pos, const char* text);

// Reads the operation that starts at the first 'a' or 'b' of rest (the text
// after the en-passant field): that letter, 'm', a blank, then a move text of
// at most nine characters that ends on ';' or a blank. Anything else, a first
// 'a' or 'b' of some other operation included, is no operation.
EpdOperation FindEpdOperation(const char* rest);
