// The key of a position in a Polyglot book (".bin"), the opening book format
// that most interfaces and engines share: a Zobrist key of its own, made of
// 781 published numbers: 768 for a piece on a square, 4 for the castling
// rights, 8 for the file of an en-passant capture, 1 for white to move.
#pragma once

#include "board/position.h"
#include "board/types.h"

inline constexpr int POLYGLOT_RANDOM_COUNT = 781;
extern const u64 PolyglotRandom[POLYGLOT_RANDOM_COUNT];

// The en-passant file counts only when a pawn of the side to move stands
// beside the pawn that has just made its double step, whether or not the
// capture would be legal.
u64 PolyglotKeyOf(const u8* board, u32 sideToMove, u16 castleRights, int enPassantSquare);

// The key of the position on the board.
u64 PolyglotKey(Position& pos);

// A square as the format numbers it: 8 * rank + file, a1 = 0, h8 = 63.
constexpr int PolyglotSquare(int square) { return 8 * (7 - RowOf(square)) + FileOf(square); }
