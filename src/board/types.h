// Squares, colours, piece codes and the 16-bit move code shared by every subsystem.
#pragma once

#include "platform/integers.h"

// Colours: the index of every colour-indexed table, and the value of SideToMove.
constexpr int BLACK = 0;
constexpr int WHITE = 1;

// Squares count from a8 (0) to h1 (63); a bitboard holds square s in bit 63 - s.
enum Square : int {
  A8, B8, C8, D8, E8, F8, G8, H8,
  A7, B7, C7, D7, E7, F7, G7, H7,
  A6, B6, C6, D6, E6, F6, G6, H6,
  A5, B5, C5, D5, E5, F5, G5, H5,
  A4, B4, C4, D4, E4, F4, G4, H4,
  A3, B3, C3, D3, E3, F3, G3, H3,
  A2, B2, C2, D2, E2, F2, G2, H2,
  A1, B1, C1, D1, E1, F1, G1, H1,
};
constexpr int SQUARE_COUNT = 64;

// Row 0 is rank 8, row 7 is rank 1; file 0 is the a-file.
constexpr int RowOf(int square) { return square >> 3; }
constexpr int FileOf(int square) { return square & 7; }
constexpr int SquareAt(int file, int rank) { return file + 8 * (8 - rank); }

// The victim of an en-passant capture stands beside the target square, on the
// capturing side's near side: indexed by the capturing colour.
inline constexpr int EpVictimOffset[2] = {-8, +8};

// Piece kinds; the code of kind t for colour c is 2t - c, so white codes are odd.
constexpr int PAWN = 1, KNIGHT = 2, BISHOP = 3, ROOK = 4, QUEEN = 5, KING = 6;
constexpr int PieceCode(int kind, int colour) { return 2 * kind - colour; }

enum PieceCodes : u8 {
  EMPTY = 0,
  WHITE_PAWN = 1, BLACK_PAWN = 2,
  WHITE_KNIGHT = 3, BLACK_KNIGHT = 4,
  WHITE_BISHOP = 5, BLACK_BISHOP = 6,
  WHITE_ROOK = 7, BLACK_ROOK = 8,
  WHITE_QUEEN = 9, BLACK_QUEEN = 10,
  WHITE_KING = 11, BLACK_KING = 12,
};
constexpr int PIECE_CODE_COUNT = 13;

// Letters indexed by piece code: '.' for an empty square, upper case for white.
inline constexpr char PieceLetters[] = ".PpNnBbRrQqKk";

// Material units by piece code. Only pawns to queens enter the counters; the
// entries of the empty square and the kings are never added.
inline constexpr u8 PieceValue[PIECE_CODE_COUNT] = {100, 1, 1, 3, 3, 3, 3, 5, 5, 9, 9, 150, 200};

// Castling right bits of CastleRights. The value 4 is never used.
constexpr u16 CASTLE_WHITE_SHORT = 1;
constexpr u16 CASTLE_WHITE_LONG = 2;
constexpr u16 CASTLE_BLACK_SHORT = 8;
constexpr u16 CASTLE_BLACK_LONG = 16;
constexpr u16 CASTLE_WHITE_ANY = CASTLE_WHITE_SHORT | CASTLE_WHITE_LONG;
constexpr u16 CASTLE_BLACK_ANY = CASTLE_BLACK_SHORT | CASTLE_BLACK_LONG;

// The move code: to-square in bits 0-5, from-square in bits 6-11, kind in bits 12-15.
using Move = u16;
constexpr Move NO_MOVE = 0;

enum MoveKinds : int {
  KIND_QUIET = 0,
  KIND_CAPTURE = 1,
  KIND_EN_PASSANT = 2,
  KIND_NOT_A_MOVE = 3,
  KIND_PROMOTE_QUEEN = 4,
  KIND_PROMOTE_KNIGHT = 5,
  KIND_PROMOTE_ROOK = 6,
  KIND_PROMOTE_BISHOP = 7,
  KIND_CAPTURE_PROMOTE_QUEEN = 8,
  KIND_CAPTURE_PROMOTE_KNIGHT = 9,
  KIND_CAPTURE_PROMOTE_ROOK = 10,
  KIND_CAPTURE_PROMOTE_BISHOP = 11,
  KIND_BLACK_SHORT_CASTLE = 12,
  KIND_WHITE_SHORT_CASTLE = 13,
  KIND_BLACK_LONG_CASTLE = 14,
  KIND_WHITE_LONG_CASTLE = 15,
};

constexpr int MoveTo(Move move) { return move & 63; }
constexpr int MoveFrom(Move move) { return (move >> 6) & 63; }
constexpr int MoveKind(Move move) { return move >> 12; }
constexpr Move MakeMoveCode(int from, int to, int kind) {
  return static_cast<Move>((kind << 12) | (from << 6) | to);
}
constexpr bool IsCastling(Move move) { return MoveKind(move) >= KIND_BLACK_SHORT_CASTLE; }
constexpr bool IsPromotion(Move move) {
  return MoveKind(move) >= KIND_PROMOTE_QUEEN && MoveKind(move) <= KIND_CAPTURE_PROMOTE_BISHOP;
}

// The four castling moves, carrying the king's squares.
constexpr Move WHITE_SHORT_CASTLE = MakeMoveCode(E1, G1, KIND_WHITE_SHORT_CASTLE);  // 0xdf3e
constexpr Move WHITE_LONG_CASTLE = MakeMoveCode(E1, C1, KIND_WHITE_LONG_CASTLE);
constexpr Move BLACK_SHORT_CASTLE = MakeMoveCode(E8, G8, KIND_BLACK_SHORT_CASTLE);
constexpr Move BLACK_LONG_CASTLE = MakeMoveCode(E8, C8, KIND_BLACK_LONG_CASTLE);

// Codes of kind 3 travel in move slots to report how a game ended, and mark a null move.
constexpr Move GAME_MATED = 0x3000;
constexpr Move GAME_STALEMATE = 0x3041;
constexpr Move GAME_REPETITION = 0x3082;
constexpr Move MOVE_NULL = 0x3104;
constexpr Move GAME_FIFTY_MOVES = 0x3186;
constexpr Move GAME_NO_MATERIAL = 0x31c7;
