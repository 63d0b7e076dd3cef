// The pieces of move generation that more than one generator writes: entries
// and their ordering scores, promotion groups, pawn captures and piece captures.
// Sets are always consumed from the lowest bit, so squares come out from h1
// towards a8.
#pragma once

#include "board/attacks.h"
#include "board/position.h"
#include "movegen/exchange.h"
#include "movegen/move_stack.h"
#include "movegen/side_constants.h"

// Ordering scores shared by the generators.
constexpr int SCORE_QUIET = -30000;
constexpr int SCORE_SHORT_CASTLE = -29000;
constexpr int SCORE_LONG_CASTLE = -29500;
constexpr int SCORE_EN_PASSANT = -9500;
// A pawn capture scores the victim's value above this base.
constexpr int PAWN_CAPTURE_BASE = -9600;
// A capture scores the victim's value less the capturer's, above this base.
constexpr int CAPTURE_BASE = -9500;
// Capture generation keeps what scores at least this.
constexpr int CAPTURE_FILTER = -10000;
// A capture whose victim is worth less than the capturer by more than this
// margin is scored by the exchange evaluator.
constexpr int EXCHANGE_MARGIN = 50;
constexpr int PROMOTION_COUNT = 4;
// Promotions to queen, knight, rook and bishop, in the order of their kinds;
// a capturing promotion adds the victim's value.
constexpr int PROMOTION_SCORES[PROMOTION_COUNT] = {-9401, -30005, -30025, -30050};

inline MoveEntry* WriteMove(MoveEntry* out, int from, int to, int kind, int score) {
  *out = MoveEntry{static_cast<i16>(score), MakeMoveCode(from, to, kind)};
  return out + 1;
}

// The four promotions of one pawn move: pushes (KIND_PROMOTE_QUEEN onward) or
// captures (KIND_CAPTURE_PROMOTE_QUEEN onward, scored up by the victim).
inline MoveEntry* WritePromotions(MoveEntry* out, int from, int to, int firstKind, int victimValue) {
  for (int i = 0; i < PROMOTION_COUNT; ++i) {
    out = WriteMove(out, from, to, firstKind + i, victimValue + PROMOTION_SCORES[i]);
  }
  return out;
}

// Attacks of a piece kind (knight to king) from a square with the present occupancy.
template <int Kind>
inline u64 AttacksFrom(Position& pos, int square) {
  if constexpr (Kind == KNIGHT) return KnightAttacks[square];
  if constexpr (Kind == BISHOP) return BishopLines(pos, square);
  if constexpr (Kind == ROOK) return RookLines(pos, square);
  if constexpr (Kind == QUEEN) return QueenLines(pos, square);
  if constexpr (Kind == KING) return KingAttacks[square];
}

// Ordering score of a capture by piece (a code of knight to king): by value
// when the victim is worth at least the capturer less the margin, otherwise
// by the exchange evaluator.
template <int Piece>
inline int CaptureScore(Position& pos, int from, int to, u64 rookQueens, u64 bishopQueens) {
  constexpr int value = ExchangeValue[Piece];
  int victimValue = ExchangeValue[pos.Board[to]];
  if (victimValue >= value - EXCHANGE_MARGIN) return victimValue - value + CAPTURE_BASE;
  return ExchangeScore(pos, Piece, from, to, rookQueens, bishopQueens);
}

// Quiet moves from one square to each target, all with one score.
inline MoveEntry* WriteQuietMoves(MoveEntry* out, int from, u64 targets, int score) {
  while (targets) out = WriteMove(out, from, PopLowestSquare(targets), KIND_QUIET, score);
  return out;
}

// Captures by piece from one square onto each victim. A king never captures
// onto a defended square; with DropLosing, nothing scored below CAPTURE_FILTER
// is written either.
template <int Piece, bool DropLosing>
MoveEntry* WriteCaptures(Position& pos, MoveEntry* out, int from, u64 victims, u64 rookQueens, u64 bishopQueens) {
  while (victims) {
    int to = PopLowestSquare(victims);
    int score = CaptureScore<Piece>(pos, from, to, rookQueens, bishopQueens);
    if constexpr (DropLosing) {
      if (score < CAPTURE_FILTER) continue;
    } else if constexpr (Piece >= WHITE_KING) {
      if (score == ILLEGAL_KING_CAPTURE) continue;
    }
    out = WriteMove(out, from, to, KIND_CAPTURE, score);
  }
  return out;
}

// Each piece of one kind (knight to queen): its captures, then its quiet moves;
// with CapturesOnly, the captures that do not lose only.
template <int Colour, int Kind, bool CapturesOnly>
MoveEntry* WritePieceMoves(Position& pos, MoveEntry* out, u64 rookQueens, u64 bishopQueens) {
  constexpr int piece = PieceCode(Kind, Colour);
  for (u64 pieces = pos.PieceBB[piece]; pieces;) {
    int from = PopLowestSquare(pieces);
    u64 targets = AttacksFrom<Kind>(pos, from);
    out = WriteCaptures<piece, CapturesOnly>(pos, out, from, targets & pos.ColourBB[Colour ^ 1], rookQueens,
                                             bishopQueens);
    if constexpr (!CapturesOnly) out = WriteQuietMoves(out, from, targets & ~pos.Occupied, SCORE_QUIET);
  }
  return out;
}

// The king's steps, never next to the enemy king nor onto the excluded
// squares: captures (none onto a defended square), then quiet steps.
template <int Colour, bool DropLosing>
MoveEntry* WriteKingMoves(Position& pos, MoveEntry* out, u64 excluded) {
  int king = pos.KingSquare[Colour];
  u64 targets = KingAttacks[king] & ~KingAttacks[pos.KingSquare[Colour ^ 1]] & ~pos.ColourBB[Colour] & ~excluded;
  out = WriteCaptures<PieceCode(KING, Colour), DropLosing>(pos, out, king, targets & pos.ColourBB[Colour ^ 1],
                                                           RooksAndQueens(pos), BishopsAndQueens(pos));
  if constexpr (DropLosing) return out;
  return WriteQuietMoves(out, king, targets & ~pos.Occupied, SCORE_QUIET);
}

// Pawn captures of Colour with one capture step (S::TOWARDS_A or S::TOWARDS_H):
// the en-passant capture, then captures onto the promotion rank (four entries
// each), then the other captures.
template <int Colour, int Step>
MoveEntry* WritePawnCaptures(Position& pos, MoveEntry* out) {
  using S = Side<Colour>;
  // Pawns on the edge file this step leaves the board from take no part.
  constexpr u64 edgeFile = (Step == S::TOWARDS_A) ? FILE_A_SQUARES : FILE_H_SQUARES;
  u64 reached = ShiftSquares<Step>(S::Pawns(pos) & ~edgeFile);
  if (pos.EnPassantSquare != 0 && (reached & SquareMask[pos.EnPassantSquare])) {
    out = WriteMove(out, pos.EnPassantSquare - Step, pos.EnPassantSquare, KIND_EN_PASSANT, SCORE_EN_PASSANT);
  }
  u64 captures = reached & S::Enemy(pos);
  for (u64 set = captures & S::PROMOTION_RANK; set;) {
    int to = PopLowestSquare(set);
    out = WritePromotions(out, to - Step, to, KIND_CAPTURE_PROMOTE_QUEEN, ExchangeValue[pos.Board[to]]);
  }
  for (u64 set = captures & ~S::PROMOTION_RANK; set;) {
    int to = PopLowestSquare(set);
    out = WriteMove(out, to - Step, to, KIND_CAPTURE, ExchangeValue[pos.Board[to]] + PAWN_CAPTURE_BASE);
  }
  return out;
}

// Pawn captures towards the a-file, then towards the h-file.
template <int Colour>
MoveEntry* WriteAllPawnCaptures(Position& pos, MoveEntry* out) {
  out = WritePawnCaptures<Colour, Side<Colour>::TOWARDS_A>(pos, out);
  return WritePawnCaptures<Colour, Side<Colour>::TOWARDS_H>(pos, out);
}
