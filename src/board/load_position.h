// Loading a position from a FEN or EPD line: the only way a new position starts.
#pragma once

#include <cstddef>

#include "board/types.h"

// Sets up the position of a FEN or EPD line (the move-number fields are not
// read), starts a new history and game copy, and forgets what the search
// learnt. False, with everything left as it was, for text that does not parse
// or a position that no game can reach (see position_soundness.h). Castling
// rights and en-passant squares that are impossible are read as absent. The
// key is made of the pieces alone: the rights and en-passant square read add
// no key.
bool LoadPosition(const char* text);

// A "bm" (best move) or "am" (avoid move) operation of an EPD line.
enum class EpdOperationKind { None, BestMove, AvoidMove };
constexpr size_t EPD_MOVE_TEXT_SIZE = 10;  // nine characters and the NUL

struct EpdOperation {
  EpdOperationKind kind;
  char moveText[EPD_MOVE_TEXT_SIZE];
};

// Reads the operation that starts at the first 'a' or 'b' of rest (the text
// after the en-passant field): that letter, 'm', a blank, then a move text of
// at most nine characters that ends on ';' or a blank. Anything else, a first
// 'a' or 'b' of some other operation included, is no operation.
EpdOperation FindEpdOperation(const char* rest);

// The operation of the last position loaded, whose move text is still to be
// read as a move of that position (EpdBestMove / EpdAvoidMove stay 0 until then).
const EpdOperation& LoadedEpdOperation();
