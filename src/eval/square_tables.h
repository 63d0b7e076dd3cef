// The evaluation's sixteen piece-square tables and their selection by the
// material on the board.
#pragma once

#include <array>

#include "board/position.h"

// TotalMaterial is a byte; the selection covers every value it can hold, so
// positions with many promoted queens (206 and more) still find a table.
constexpr int TOTAL_MATERIAL_LIMIT = 256;
constexpr int PIECE_KIND_COUNT = 6;

// PstByMaterial[kind - 1][material]: the table of piece kind PAWN..KING (as in
// board/types.h) to use at that TotalMaterial. Tables are written from white's
// side, rank 8 first, and indexed by square. Filled when the program is compiled.
using SquareTableSelection = std::array<std::array<const i16*, TOTAL_MATERIAL_LIMIT>, PIECE_KIND_COUNT>;
extern const SquareTableSelection PstByMaterial;

// The square table of a piece kind at the present TotalMaterial.
inline const i16* SquareTableOf(Position& pos, int kind) { return PstByMaterial[kind - 1][pos.TotalMaterial]; }

// The same for a piece code (white and black pieces share their kind's table).
inline const i16* SquareTableOfPiece(Position& pos, int code) { return SquareTableOf(pos, (code + 1) >> 1); }
