#include "book/polyglot_move.h"

#include "board/castling.h"
#include "book/polyglot_key.h"
#include "movegen/legal_moves.h"

namespace {

constexpr int FROM_SHIFT = 6;
constexpr int PROMOTION_SHIFT = 12;

// The format's number of the piece a promotion makes, by our promotion kinds
// (queen, knight, rook, bishop, then the same as captures).
constexpr int PromotionNumber[8] = {4, 1, 3, 2, 4, 1, 3, 2};

}  // namespace

PolyglotMove PolyglotMoveOf(Move move) {
  int to = MoveTo(move);
  if (IsCastling(move)) to = CastlingOf(move).rookFrom;
  int field = PolyglotSquare(to) | PolyglotSquare(MoveFrom(move)) << FROM_SHIFT;
  if (IsPromotion(move)) field |= PromotionNumber[MoveKind(move) - KIND_PROMOTE_QUEEN] << PROMOTION_SHIFT;
  return static_cast<PolyglotMove>(field);
}

Move MoveOfPolyglot(Position& pos, PolyglotMove field) {
  UndoRecord record{};
  MoveEntry list[MAX_LIST_MOVES];
  MoveEntry* end = GenerateMovesOf(pos, list, record);
  for (MoveEntry* entry = list; entry < end; ++entry) {
    if (PolyglotMoveOf(entry->move) == field && IsGeneratedLegalMove(pos, entry->move)) return entry->move;
  }
  return NO_MOVE;
}
