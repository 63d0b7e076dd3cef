// One position of a database: its key, the board packed into 64 four-bit
// codes, side to move, castling rights, en passant, the earliest ply at which
// it occurred, and how often white won, black won and the game was drawn.
#pragma once

#include <cstddef>
#include <string>

#include "board/types.h"

constexpr size_t POSITION_RECORD_SIZE = 54;
constexpr size_t PACKED_BOARD_SIZE = 32;  // 64 codes, high nibble first
constexpr int PACKED_CODE_COUNT = 64;

// Codes of the packed board. 0 to 3 stand for 1 to 4 empty squares; 15 is
// also the filler after the last code of a short placement.
constexpr u8 PACKED_FILLER = 15;
constexpr int PACKED_EMPTY_RUN_MAX = 4;

// The byte of the side to move, castling rights and en-passant file.
constexpr u8 FLAG_WHITE_TO_MOVE = 0x80;
constexpr u8 FLAG_WHITE_SHORT = 0x40;  // K
constexpr u8 FLAG_WHITE_LONG = 0x20;   // Q
constexpr u8 FLAG_BLACK_SHORT = 0x10;  // k
constexpr u8 FLAG_BLACK_LONG = 0x08;   // q
constexpr u8 FLAG_EN_PASSANT_FILE = 0x07;

// The byte of the earliest ply, and whether the en-passant file is given.
constexpr u8 PLY_EN_PASSANT_GIVEN = 0x80;
constexpr u8 PLY_MASK = 0x7f;
constexpr int MAX_EARLIEST_PLY = 127;

struct PositionRecord {
  u32 keyLow = 0;
  u32 keyHigh = 0;
  u8 board[PACKED_BOARD_SIZE] = {};
  u8 flags = 0;           // FLAG_* bits
  u8 plyAndPassant = 0;   // PLY_* bits
  u32 whiteWins = 0;
  u32 blackWins = 0;
  u32 draws = 0;

  u64 Key() const;
  int EarliestPly() const { return plyAndPassant & PLY_MASK; }
  bool WhiteToMove() const { return (flags & FLAG_WHITE_TO_MOVE) != 0; }
};

void EncodeRecord(const PositionRecord& record, u8* out);  // 54 bytes
PositionRecord DecodeRecord(const u8* in);

// The same position: equal board, side, castling, en-passant file and whether
// an en-passant square is given. Key, ply and counts are not compared.
bool SamePosition(const PositionRecord& a, const PositionRecord& b);

// Packs the placement field of a FEN text (length characters) into out. False
// when it holds a character that no placement has, or nothing at all.
bool PackBoard(const char* placement, size_t length, u8* out);

// The position of a record as the first four fields of a FEN text
// ("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"); empty when its
// packed board does not fill the 64 squares exactly.
std::string RecordPositionText(const PositionRecord& record);

// The score from white's point of view, (w + d/2) / (w + b + d); 0 when no
// game was counted.
double WhiteScore(double whiteWins, double blackWins, double draws);
