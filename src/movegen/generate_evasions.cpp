#include "movegen/generate_evasions.h"

#include "movegen/move_writing.h"

namespace {

// Blocks score below quiet moves by the blocking piece's value.
template <int Piece>
constexpr int BLOCK_SCORE = SCORE_QUIET - ExchangeValue[Piece];

// What the evasions of one position answer: the checker and the empty squares
// between a distant slider and the king (none against a double check).
struct Check {
  int checker;
  int checkerValue;
  u64 blocks;
};

// Empty-board rays and the present-occupancy attacks of a slider kind.
template <int Kind>
inline u64 RaysOf(int square) {
  if constexpr (Kind == BISHOP) return BishopRays[square];
  if constexpr (Kind == ROOK) return RookRays[square];
  if constexpr (Kind == QUEEN) return QueenRays[square];
}

// En passant answers the check when it takes the pawn that just double-stepped
// and gives check, or when the capturing pawn lands on a block square (which
// only a position set up by hand can ask for).
template <int Colour>
MoveEntry* WriteEnPassant(Position& pos, MoveEntry* out, const Check& check) {
  using S = Side<Colour>;
  int ep = pos.EnPassantSquare;
  if (ep == 0 || (check.checker != ep - S::FORWARD && (check.blocks & SquareMask[ep]) == 0)) return out;
  u64 pawns = S::Pawns(pos);
  if (FileOf(ep) != 0 && (pawns & SquareMask[ep - S::TOWARDS_H])) {
    out = WriteMove(out, ep - S::TOWARDS_H, ep, KIND_EN_PASSANT, SCORE_EN_PASSANT);
  }
  if (FileOf(ep) != 7 && (pawns & SquareMask[ep - S::TOWARDS_A])) {
    out = WriteMove(out, ep - S::TOWARDS_A, ep, KIND_EN_PASSANT, SCORE_EN_PASSANT);
  }
  return out;
}

// Own pawns that take the checker: first the one on the a-file side.
template <int Colour>
MoveEntry* WritePawnCapturesOfChecker(Position& pos, MoveEntry* out, const Check& check) {
  using S = Side<Colour>;
  int cs = check.checker;
  u64 pawns = S::Pawns(pos) & Side<S::THEM>::OWN_PAWN_ATTACKS[cs];
  if (pawns == 0) return out;
  for (int from : {cs - S::TOWARDS_H, cs - S::TOWARDS_A}) {
    if (from < 0 || from >= SQUARE_COUNT || (pawns & SquareMask[from]) == 0) continue;
    if (SquareMask[cs] & S::PROMOTION_RANK) {
      out = WritePromotions(out, from, cs, KIND_CAPTURE_PROMOTE_QUEEN, check.checkerValue);
    } else {
      out = WriteMove(out, from, cs, KIND_CAPTURE, check.checkerValue + PAWN_CAPTURE_BASE);
    }
  }
  return out;
}

// Pieces of one kind (knight, bishop, rook or queen): those that take the
// checker, scored by value alone, then every block of each piece.
template <int Colour, int Kind>
MoveEntry* WritePieceAnswers(Position& pos, MoveEntry* out, const Check& check) {
  constexpr int piece = PieceCode(Kind, Colour);
  constexpr int captureScore = CAPTURE_BASE - ExchangeValue[piece];
  u64 pieces = pos.PieceBB[piece];
  if (pieces == 0) return out;
  if constexpr (Kind == KNIGHT) {
    for (u64 set = KnightAttacks[check.checker] & pieces; set;) {
      out = WriteMove(out, PopLowestSquare(set), check.checker, KIND_CAPTURE,
                      check.checkerValue + captureScore);
    }
  } else if (RaysOf<Kind>(check.checker) & pieces) {
    for (u64 set = AttacksFrom<Kind>(pos, check.checker) & pieces; set;) {
      out = WriteMove(out, PopLowestSquare(set), check.checker, KIND_CAPTURE,
                      check.checkerValue + captureScore);
    }
  }
  if (check.blocks == 0) return out;
  while (pieces) {
    int from = PopLowestSquare(pieces);
    if constexpr (Kind != KNIGHT) {
      if ((RaysOf<Kind>(from) & check.blocks) == 0) continue;
    }
    out = WriteQuietMoves(out, from, AttacksFrom<Kind>(pos, from) & check.blocks, BLOCK_SCORE<piece>);
  }
  return out;
}

template <int Colour>
MoveEntry* WritePawnBlocks(Position& pos, MoveEntry* out, const Check& check) {
  using S = Side<Colour>;
  u64 pushed = ShiftSquares<S::FORWARD>(S::Pawns(pos)) & ~pos.Occupied;
  u64 doubled = ShiftSquares<S::FORWARD>(pushed & S::DOUBLE_PUSH_MIDDLE_RANK) & check.blocks;
  while (doubled) {
    int to = PopLowestSquare(doubled);
    out = WriteMove(out, to - 2 * S::FORWARD, to, KIND_QUIET, SCORE_QUIET);
  }
  pushed &= check.blocks;
  for (u64 set = pushed & S::PROMOTION_RANK; set;) {
    int to = PopLowestSquare(set);
    out = WritePromotions(out, to - S::FORWARD, to, KIND_PROMOTE_QUEEN, 0);
  }
  for (u64 set = pushed & ~S::PROMOTION_RANK; set;) {
    int to = PopLowestSquare(set);
    out = WriteMove(out, to - S::FORWARD, to, KIND_QUIET, SCORE_QUIET);
  }
  return out;
}

// The empty squares strictly between a single slider checker and the king.
template <int Colour>
u64 BlockSquares(Position& pos, const UndoRecord& record, int checker) {
  int piece = pos.Board[checker];
  bool slider = piece >= WHITE_BISHOP;
  if (!slider || (KingAttacks[pos.KingSquare[Colour]] & SquareMask[checker])) return 0;
  if (record.kingRookRay) return RookLines(pos, checker) & record.kingRookRay;
  return BishopLines(pos, checker) & record.kingBishopRay;
}

template <int Colour>
MoveEntry* GenerateEvasionsOf(Position& pos, MoveEntry* out, const UndoRecord& record) {
  u64 blocks = 0;
  bool doubleCheck = (record.checkers & (record.checkers - 1)) != 0;
  if (!doubleCheck) {
    int checker = LowestSquare(record.checkers);
    Check check{checker, ExchangeValue[pos.Board[checker]], BlockSquares<Colour>(pos, record, checker)};
    out = WriteEnPassant<Colour>(pos, out, check);
    out = WritePawnCapturesOfChecker<Colour>(pos, out, check);
    out = WritePieceAnswers<Colour, KNIGHT>(pos, out, check);
    out = WritePieceAnswers<Colour, BISHOP>(pos, out, check);
    out = WritePieceAnswers<Colour, ROOK>(pos, out, check);
    out = WritePieceAnswers<Colour, QUEEN>(pos, out, check);
    if (check.blocks) out = WritePawnBlocks<Colour>(pos, out, check);
    blocks = check.blocks;
  }
  // A king stepping onto the checking line between checker and king stays in check.
  return WriteKingMoves<Colour, false>(pos, out, blocks);
}

}  // namespace

const EvasionGenerator GenerateEvasions[2] = {GenerateEvasionsOf<BLACK>, GenerateEvasionsOf<WHITE>};
