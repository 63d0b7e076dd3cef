#include "movegen/generate_captures.h"

#include "movegen/move_writing.h"

namespace {

// Pushes onto the last rank, as queen promotions only, when the exchange on the
// promotion square does not lose.
template <int Colour>
MoveEntry* WriteQueenPromotions(Position& pos, MoveEntry* out, u64 rookQueens, u64 bishopQueens) {
  using S = Side<Colour>;
  u64 pushed = ShiftSquares<S::FORWARD>(S::Pawns(pos) & S::BEFORE_PROMOTION_RANK) & ~pos.Occupied;
  while (pushed) {
    int to = PopLowestSquare(pushed);
    int from = to - S::FORWARD;
    int score = ExchangeScore(pos, S::PAWN_CODE, from, to, rookQueens, bishopQueens);
    if (score >= CAPTURE_FILTER) out = WriteMove(out, from, to, KIND_PROMOTE_QUEEN, score);
  }
  return out;
}

template <int Colour>
MoveEntry* GenerateCapturesOf(Position& pos, MoveEntry* out) {
  u64 rookQueens = RooksAndQueens(pos), bishopQueens = BishopsAndQueens(pos);
  out = WriteAllPawnCaptures<Colour>(pos, out);
  out = WriteQueenPromotions<Colour>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, KNIGHT, true>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, BISHOP, true>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, ROOK, true>(pos, out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, QUEEN, true>(pos, out, rookQueens, bishopQueens);
  return WriteKingMoves<Colour, true>(pos, out, 0);
}

}  // namespace

const MoveGenerator GenerateCaptures[2] = {GenerateCapturesOf<BLACK>, GenerateCapturesOf<WHITE>};
