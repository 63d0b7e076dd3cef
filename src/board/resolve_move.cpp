#include "board/resolve_move.h"

#include "board/attacks.h"
#include "board/move_validity.h"

namespace {

constexpr Move KIND_BITS_CAPTURE = KIND_CAPTURE << 12;
constexpr Move KIND_BITS_EN_PASSANT = KIND_EN_PASSANT << 12;

u64 OwnPieces(Position& pos, int kind, int side) { return pos.PieceBB[PieceCode(kind, side)]; }

u64 FileSquares(char fileLetter) {
  int square = SquareAt(fileLetter - 'a', 8);
  return FileOthers[square] | SquareMask[square];
}

// The single legal move among several candidates, or 0.
Move UniqueLegalMove(Position& pos, u64 candidates, int to, Move flag) {
  Move found = NO_MOVE;
  while (candidates) {
    Move move = MakeMoveCode(PopLowestSquare(candidates), to, KIND_QUIET) | flag;
    if (!IsLegalMove(pos, move)) continue;
    if (found != NO_MOVE) return NO_MOVE;
    found = move;
  }
  return found;
}

}  // namespace

Move ResolvePieceMove(Position& pos, const char* text, int to, u64 filter) {
  if (to < 0 || to >= SQUARE_COUNT) return NO_MOVE;
  int side = static_cast<int>(pos.SideToMove);
  Move flag = pos.Board[to] != EMPTY ? KIND_BITS_CAPTURE : NO_MOVE;
  u64 candidates;
  switch (text[0]) {
    case 'N':
      candidates = KnightAttacks[to] & OwnPieces(pos, KNIGHT, side) & filter;
      break;
    case 'B':
      candidates = BishopLines(pos, to) & OwnPieces(pos, BISHOP, side) & filter;
      break;
    case 'R':
      candidates = RookLines(pos, to) & OwnPieces(pos, ROOK, side) & filter;
      break;
    case 'Q':
      candidates = QueenLines(pos, to) & OwnPieces(pos, QUEEN, side) & filter;
      break;
    case 'K':
      candidates = SquareMask[pos.KingSquare[side]];
      break;
    default:
      if (text[0] < 'a' || text[0] > 'h') return NO_MOVE;
      // The squares from which a pawn of the side to move takes on to.
      candidates =
          (side == WHITE ? BlackPawnAttacks : WhitePawnAttacks)[to] & FileSquares(text[0]) & OwnPieces(pos, PAWN, side);
      if (flag == NO_MOVE) flag = KIND_BITS_EN_PASSANT;
      break;
  }
  if (candidates == 0) return NO_MOVE;
  if (PopCount(candidates) == 1) return MakeMoveCode(LowestSquare(candidates), to, KIND_QUIET) | flag;
  return UniqueLegalMove(pos, candidates, to, flag);
}
