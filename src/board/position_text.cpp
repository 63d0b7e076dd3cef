#include "board/position_text.h"

#include <cstdio>

#include "board/move_text.h"
#include "board/position.h"

namespace {

constexpr int SQUARES_PER_RANK = 8;

char* WritePlacement(Position& pos, char* text) {
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    if (square > 0 && FileOf(square) == 0) *text++ = '/';
    if (pos.Board[square] != EMPTY) {
      *text++ = PieceLetters[pos.Board[square]];
      continue;
    }
    int run = 1;
    while (FileOf(square) + run < SQUARES_PER_RANK && pos.Board[square + run] == EMPTY) ++run;
    *text++ = static_cast<char>('0' + run);
    square += run - 1;
  }
  return text;
}

char* WriteCastleRights(Position& pos, char* text) {
  if (pos.CastleRights == 0) {
    *text++ = '-';
    return text;
  }
  if (pos.CastleRights & CASTLE_WHITE_SHORT) *text++ = 'K';
  if (pos.CastleRights & CASTLE_WHITE_LONG) *text++ = 'Q';
  if (pos.CastleRights & CASTLE_BLACK_SHORT) *text++ = 'k';
  if (pos.CastleRights & CASTLE_BLACK_LONG) *text++ = 'q';
  return text;
}

}  // namespace

char* WritePositionText(Position& pos, char* text) {
  text = WritePlacement(pos, text);
  *text++ = ' ';
  *text++ = pos.SideToMove == WHITE ? 'w' : 'b';
  *text++ = ' ';
  text = WriteCastleRights(pos, text);
  *text++ = ' ';
  if (pos.EnPassantSquare == 0) {
    *text++ = '-';
  } else {
    text = WriteSquareText(text, pos.EnPassantSquare);
  }
  *text = '\0';
  return text;
}

void PrintBoard(const u8* board) {
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    if (FileOf(square) == 0) std::printf("\n%d ", 8 - RowOf(square));
    std::printf("%c ", PieceLetters[board[square]]);
  }
  std::printf("\n\n  A B C D E F G H\n");
}
