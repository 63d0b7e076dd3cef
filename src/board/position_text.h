// The position as text: FEN without the move numbers, and the board diagram.
#pragma once

#include <cstddef>

#include "board/position.h"
#include "board/types.h"

// Room for the longest text WritePositionText writes, NUL included.
constexpr size_t POSITION_TEXT_SIZE = 96;

// Writes placement, side to move, castling rights and en-passant square, as
// "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -". Returns the
// terminating NUL written.
char* WritePositionText(Position& pos, char* text);

// Prints the board on standard output, rank 8 first, '.' for an empty square,
// with the file letters underneath.
void PrintBoard(const u8* board);
