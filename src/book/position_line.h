// Lines of a position file: "KEY<tab>FEN<tab>RESULT<tab>PLY", the key as 16
// hexadecimal digits, the FEN with its four fields (placement, side, castling,
// en passant), the result letter W, B or D, and the ply of the position.
#pragma once

#include <cstddef>
#include <cstdio>

#include "board/position.h"
#include "board/types.h"
#include "book/position_record.h"

constexpr size_t MAX_POSITION_LINE = 254;  // characters of a line, its line end not counted

// A line is too short to hold a position when it has fewer characters than
// this, its line end included.
constexpr size_t MIN_POSITION_LINE = 17;

struct PositionLine {
  char text[MAX_POSITION_LINE + 2];  // the line, with its line end when it fitted, and a NUL
  size_t length = 0;                 // characters in text
  u64 bytesRead = 0;                 // the whole line as it stands in the file
  bool tooLong = false;              // more than MAX_POSITION_LINE characters: only the first are kept
};

// Reads the next line, however long: the rest of a long line is consumed with
// it, never read as a line of its own. False at the end of the file.
bool ReadPositionLine(std::FILE* file, PositionLine& line);

// The line without its line end, for messages.
int PrintableLength(const PositionLine& line);

// Parses one line (length characters; nothing past them is read) into a
// record with one game counted. False when any field is missing or malformed.
bool ParsePositionLine(const char* text, size_t length, PositionRecord& record);
