#include "movegen/generate_all.h"

#include "movegen/move_writing.h"

namespace {

template <int Colour>
MoveEntry* WritePawnPushes(Position& pos, MoveEntry* out) {
  using S = Side<Colour>;
  u64 pushed = ShiftSquares<S::FORWARD>(S::Pawns(pos)) & ~pos.Occupied;
  for (u64 set = pushed & S::PROMOTION_RANK; set;) {
    int to = PopLowestSquare(set);
    out = WritePromotions(out, to - S::FORWARD, to, KIND_PROMOTE_QUEEN, 0);
  }
  u64 doubled = ShiftSquares<S::FORWARD>(pushed & S::DOUBLE_PUSH_MIDDLE_RANK) & ~pos.Occupied;
  while (doubled) {
    int to = PopLowestSquare(doubled);
    out = WriteMove(out, to - 2 * S::FORWARD, to, KIND_QUIET, SCORE_QUIET);
  }
  for (u64 set = pushed & ~S::PROMOTION_RANK; set;) {
    int to = PopLowestSquare(set);
    out = WriteMove(out, to - S::FORWARD, to, KIND_QUIET, SCORE_QUIET);
  }
  return out;
}

// Castling needs its right and empty squares between king and rook; whether
// the king crosses an attacked square is tested after the move is made.
template <int Colour>
MoveEntry* WriteCastling(Position& pos, MoveEntry* out) {
  using S = Side<Colour>;
  if ((pos.CastleRights & S::SHORT_CASTLE.right) && (pos.Occupied & S::SHORT_CASTLE.between) == 0) {
    out->score = SCORE_SHORT_CASTLE;
    out->move = S::SHORT_CASTLE.move;
    ++out;
  }
  if ((pos.CastleRights & S::LONG_CASTLE.right) && (pos.Occupied & S::LONG_CASTLE.between) == 0) {
    out->score = SCORE_LONG_CASTLE;
    out->move = S::LONG_CASTLE.move;
    ++out;
  }
  return out;
}

template <int Colour>
MoveEntry* GenerateAllOf(Position& pos, MoveEntry* out) {
  u64 rookQueens = RooksAndQueens(pos), bishopQueens = BishopsAndQueens(pos);
  out = WriteAllPawnCaptures<Colour>(pos, out);
  out = WritePieceMoves<Colour, KNIGHT, false>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, QUEEN, false>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, ROOK, false>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, BISHOP, false>(pos, out, rookQueens, bishopQueens);
  out = WritePawnPushes<Colour>(pos, out);
  out = WriteKingMoves<Colour, false>(pos, out, 0);
  if (pos.CastleRights) out = WriteCastling<Colour>(pos, out);
  return out;
}

}  // namespace

const MoveGenerator GenerateAll[2] = {GenerateAllOf<BLACK>, GenerateAllOf<WHITE>};
