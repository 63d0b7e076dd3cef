#include "board/position_soundness.h"

#include <algorithm>

#include "board/castling.h"
#include "board/check.h"
#include "board/position.h"

namespace {

constexpr int MAX_PIECES = 16;
constexpr int MAX_PAWNS = 8;
// How many of each piece a colour starts with; more must have come from promotions.
constexpr int STARTING_COUNT[KING + 1] = {0, 8, 2, 2, 2, 1, 1};

constexpr int PieceKindOf(int code) { return (code + 1) / 2; }
constexpr int ColourOf(int code) { return code & 1; }

constexpr int FIRST_ROW = 0, LAST_ROW = 7;

bool ColourCountsAreSound(const int (&count)[KING + 1]) {
  if (count[KING] != 1 || count[PAWN] > MAX_PAWNS) return false;
  int pieces = 0, promoted = 0;
  for (int kind = PAWN; kind <= KING; ++kind) {
    pieces += count[kind];
    if (kind != PAWN) promoted += std::max(0, count[kind] - STARTING_COUNT[kind]);
  }
  return pieces <= MAX_PIECES && promoted <= MAX_PAWNS - count[PAWN];
}

// The pawn that made the double step stands in front of the en-passant square,
// and the square it came from is empty.
bool EnPassantSquareIsPossible(Position& pos, int square) {
  int side = static_cast<int>(pos.SideToMove);
  int expectedRow = side == WHITE ? RowOf(A6) : RowOf(A3);
  if (square == 0 || RowOf(square) != expectedRow) return false;
  int pawnSquare = square + EpVictimOffset[side];
  int startSquare = square - EpVictimOffset[side];
  return pos.Board[square] == EMPTY && pos.Board[startSquare] == EMPTY &&
         pos.Board[pawnSquare] == PieceCode(PAWN, side ^ 1);
}

}  // namespace

bool PiecesAreSound(const u8* board) {
  int count[2][KING + 1] = {};
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    int code = board[square];
    if (code == EMPTY) continue;
    ++count[ColourOf(code)][PieceKindOf(code)];
    int row = RowOf(square);
    if (PieceKindOf(code) == PAWN && (row == FIRST_ROW || row == LAST_ROW)) return false;
  }
  return ColourCountsAreSound(count[WHITE]) && ColourCountsAreSound(count[BLACK]);
}

void DropImpossibleRights(Position& pos) {
  for (const CastlingMove& castling : Castlings) {
    bool inPlace = pos.Board[castling.kingFrom] == PieceCode(KING, castling.colour) &&
                   pos.Board[castling.rookFrom] == PieceCode(ROOK, castling.colour);
    if (!inPlace) pos.CastleRights &= static_cast<u16>(~castling.right);
  }
  if (!EnPassantSquareIsPossible(pos, pos.EnPassantSquare)) pos.EnPassantSquare = 0;
}

bool SideNotToMoveAttacked(Position& pos) {
  int other = static_cast<int>(pos.SideToMove) ^ 1;
  return KingsTouch(pos) || KingLeftInCheck(pos, NO_MOVE, other);
}
