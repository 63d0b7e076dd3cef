// Loading a position from a FEN or EPD line: the only way a new position starts.
#pragma once

#include <cstddef>

#include "board/types.h"

// The position every game starts from.
inline constexpr const char* INITIAL_POSITION = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Sets up the position of a FEN or EPD line (of the move-number fields, the
// half-move clock counts toward the fifty-move rule), starts a new history and game copy, forgets what the search learnt,
// and reads the move of a "bm" or "am" operation into EpdBestMove or
// EpdAvoidMove. False, with everything left as it was, for text that does not
// parse or a position that no game can reach (see position_soundness.h); false
// too, after a warning on standard output and with the new position set up,
// when the operation's move cannot be read. Castling rights and en-passant
// squares that are impossible are read as absent. The key is made of the
// pieces alone: the rights and en-passant square read add no key.
bool LoadPosition(const char* text);

// LoadPosition for a tool that walks many positions and searches none: the
// search keeps what it learnt (clearing its tables costs milliseconds), no EPD
// operation is read, and the position does not count as loaded.
bool SetUpPosition(const char* text);

// How the last LoadPosition ended, for callers that tell the failures apart.
enum class LoadOutcome { Loaded, Refused, EpdMoveNotRecognised };
LoadOutcome LastLoadOutcome();

// How many positions were set up so far (a refused text sets up none).
u32 PositionLoadCount();

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
