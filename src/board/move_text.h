// Moves as coordinate text ("e2e4", "e7e8q", castling as the king's move "e1g1").
#pragma once

#include <string>

#include "board/position.h"
#include "board/types.h"

// Room for the longest move text, NUL included.
constexpr int MOVE_TEXT_SIZE = 6;

// Square characters: a file letter a-h and a rank digit 1-8.
constexpr bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
constexpr bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }

// The square named by the first two characters of text, or NO_SQUARE unless
// they are a file letter and a rank digit (nothing after a NUL is read).
constexpr int NO_SQUARE = -1;
constexpr int SquareOfText(const char* text) {
  return IsFileLetter(text[0]) && IsRankDigit(text[1]) ? SquareAt(text[0] - 'a', text[1] - '0')
                                                       : NO_SQUARE;
}

// Writes the two characters of a square; returns the position after them.
char* WriteSquareText(char* text, int square);

// Writes from- and to-square and, for a promotion, the lower-case letter of
// the piece. Returns the terminating NUL written.
char* MoveToText(char* text, Move move);

// The same text as a string.
std::string MoveText(Move move);

// Coordinate text to a move code for the search position (Board, CastleRights,
// EnPassantSquare). 0 unless the first four characters are two squares; any
// other text yields some code, which the caller compares with the legal moves.
// Promotion letters are read in either case, and a promotion letter always
// gives a promotion code: after a move that is no promotion ("g1f3q", "e1g1q")
// it makes a code that matches no legal move.
Move ParseBoardMove(Position& pos, const char* text);

// The same for the game copy (GameBoard, GameCastleRights, GameEnPassantSquare),
// reading lower-case promotion letters only.
Move ParseGameMove(Position& pos, const char* text);

// Kind bits of a promotion without capture (0x4000 to 0x7000) and with capture
// (0x8000 to 0xb000) for a piece letter q, n, r, b in either case; 0 otherwise.
Move PromotionKind(char letter);
Move CapturePromotionKind(char letter);
