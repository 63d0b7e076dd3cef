#include "board/gives_check.h"

#include "board/attacks.h"

namespace {

constexpr int KindOf(int pieceCode) { return (pieceCode + 1) >> 1; }

// The attacks of a piece of that kind and colour standing on square.
u64 AttacksFrom(Position& pos, int kind, int colour, int square) {
  switch (kind) {
    case PAWN: return colour == WHITE ? WhitePawnAttacks[square] : BlackPawnAttacks[square];
    case KNIGHT: return KnightAttacks[square];
    case BISHOP: return BishopLines(pos, square);
    case ROOK: return RookLines(pos, square);
    case QUEEN: return QueenLines(pos, square);
    default: return 0;
  }
}

// A line through from that reaches the king on one side and one of the
// sliders on the other: leaving from uncovers the slider.
bool UncoversLine(u64 line, u64 king, u64 sliders) { return (line & king) != 0 && (line & sliders) != 0; }

}  // namespace

bool MayGiveCheck(Position& pos, Move move) {
  if (MoveKind(move) != KIND_QUIET && MoveKind(move) != KIND_CAPTURE) return true;
  const int mover = static_cast<int>(pos.SideToMove);
  const int from = MoveFrom(move), to = MoveTo(move);
  const int enemyKing = pos.KingSquare[mover ^ 1];
  const u64 king = SquareMask[enemyKing];
  // Lines from the destination: the mover's own square cannot stand between
  // them and the king, or the king would have been in check already.
  if (AttacksFrom(pos, KindOf(pos.Board[from]), mover, to) & king) return true;
  if ((QueenRays[enemyKing] & SquareMask[from]) == 0) return false;
  const u64 queens = pos.PieceBB[PieceCode(QUEEN, mover)];
  const u64 straight = pos.PieceBB[PieceCode(ROOK, mover)] | queens;
  const u64 diagonal = pos.PieceBB[PieceCode(BISHOP, mover)] | queens;
  return UncoversLine(RankLine(pos, from), king, straight) || UncoversLine(FileLine(pos, from), king, straight) ||
         UncoversLine(DiagUpLine(pos, from), king, diagonal) || UncoversLine(DiagDownLine(pos, from), king, diagonal);
}
