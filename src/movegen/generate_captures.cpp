#include "movegen/generate_captures.h"

#include "movegen/move_writing.h"

namespace {

// Pushes onto the last rank, as queen promotions only, when the exchange on the
// promotion square does not lose.
template <int Colour>
MoveEntry* WriteQueenPromotions(MoveEntry* out, u64 rookQueens, u64 bishopQueens) {
  using S = Side<Colour>;
  u64 pushed = ShiftSquares<S::FORWARD>(S::Pawns() & S::BEFORE_PROMOTION_RANK) & ~Occupied;
  while (pushed) {
    int to = PopLowestSquare(pushed);
    int from = to - S::FORWARD;
    int score = ExchangeScore(S::PAWN_CODE, from, to, rookQueens, bishopQueens);
    if (score >= CAPTURE_FILTER) out = WriteMove(out, from, to, KIND_PROMOTE_QUEEN, score);
  }
  return out;
}

template <int Colour>
MoveEntry* GenerateCapturesOf(MoveEntry* out) {
  u64 rookQueens = RooksAndQueens(), bishopQueens = BishopsAndQueens();
  out = WriteAllPawnCaptures<Colour>(out);
  out = WriteQueenPromotions<Colour>(out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, KNIGHT, true>(out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, BISHOP, true>(out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, ROOK, true>(out, rookQueens, bishopQueens);
  out = WritePieceMoves<Colour, QUEEN, true>(out, rookQueens, bishopQueens);
  return WriteKingMoves<Colour, true>(out, 0);
}

}  // namespace

const MoveGenerator GenerateCaptures[2] = {GenerateCapturesOf<BLACK>, GenerateCapturesOf<WHITE>};
