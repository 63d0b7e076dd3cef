#include "movegen/exchange.h"

#include <algorithm>

#include "board/attacks.h"
#include "eval/square_tables.h"
#include "movegen/move_stack.h"
#include "movegen/side_constants.h"

namespace {

// Bases of the ordering bands the result falls in.
constexpr int WINNING_BASE = -9500;
constexpr int EVEN_SCORE = -29985;
constexpr int LOSING_BASE = -30000;
// How far ahead a side must stay to decide the exchange early, and how much
// a capture may lose and still count as winning.
constexpr int DECISION_MARGIN = 50;
constexpr int PROMOTION_GAIN = 800;
// More captures than pieces on the board cannot happen.
constexpr int MAX_GAINS = 34;

// The first piece code worth looking at among a side's attackers, per colour,
// before the first capture.
constexpr int PAWN_START[2] = {BLACK_PAWN, WHITE_PAWN};
constexpr int KNIGHT_START[2] = {BLACK_KNIGHT, WHITE_KNIGHT};
// Where a queen that uncovers a slider lowers the start codes to.
constexpr int ROOK_START[2] = {BLACK_ROOK, WHITE_ROOK};
constexpr int BISHOP_START[2] = {BLACK_BISHOP, WHITE_BISHOP};

inline i16 Wrap(int value) { return static_cast<i16>(value); }

// The square table entry of a piece at a square; both colours read the same entry.
inline int Psq(Position& pos, int piece, int square) { return SquareTableOfPiece(pos, piece)[square]; }

inline bool IsPawnOrBishop(int piece) {
  return piece <= BLACK_PAWN || piece == WHITE_BISHOP || piece == BLACK_BISHOP;
}
inline bool IsRook(int piece) { return piece == WHITE_ROOK || piece == BLACK_ROOK; }
inline bool IsQueen(int piece) { return piece == WHITE_QUEEN || piece == BLACK_QUEEN; }

struct Exchange {
  Position& pos;
  int to;
  u64 attackers;
  u64 rookQueens;
  u64 bishopQueens;
  int start[2];

  // Sliders on the far side of square from `to` join once the piece on square
  // has left; the occupancy lookup runs only when one lies on the line. Returns
  // what was added, which leaves both slider sets.
  template <const u64* Rays, u64 (*Lines)(Position&, int)>
  u64 XRay(int square, u64& sliders) {
    sliders &= ~SquareMask[square];
    u64 behind = Rays[square] & Rays[to] & sliders;
    if (behind == 0) return 0;
    u64 added = Lines(pos, square) & behind;
    Join(added);
    return added;
  }

  u64 RookXRay(int square) { return XRay<RookRays, RookLines>(square, rookQueens); }
  u64 BishopXRay(int square) { return XRay<BishopRays, BishopLines>(square, bishopQueens); }

  void Join(u64 added) {
    attackers |= added;
    rookQueens &= ~added;
    bishopQueens &= ~added;
  }

  // A queen leaving uncovers rooks or, failing those, bishops, which makes
  // that kind eligible again for both colours.
  void QueenXRay(int square) {
    if (RookXRay(square)) {
      start[BLACK] = std::min(start[BLACK], ROOK_START[BLACK]);
      start[WHITE] = std::min(start[WHITE], ROOK_START[WHITE]);
    } else if (BishopXRay(square)) {
      start[BLACK] = std::min(start[BLACK], BISHOP_START[BLACK]);
      start[WHITE] = std::min(start[WHITE], BISHOP_START[WHITE]);
    }
  }

  // Removes side's least valuable attacker, the king only as the very last
  // piece on the square; returns its code and square, or 0 when side has none.
  int TakeLeastValuable(int side, int& square) {
    for (int code = start[side]; code <= PieceCode(QUEEN, side); code += 2) {
      u64 candidates = pos.PieceBB[code] & attackers;
      if (candidates) {
        square = LowestSquare(candidates);
        attackers &= ~SquareMask[square];
        return code;
      }
    }
    u64 king = SquareMask[pos.KingSquare[side]];
    if ((KingAttacks[to] & king) == 0) return 0;
    attackers &= ~king;
    if (attackers) return 0;
    square = pos.KingSquare[side];
    return PieceCode(KING, side);
  }
};

// Every piece of either colour that attacks `to` with the present occupancy.
u64 AttackersOf(Position& pos, int to, u64 rookQueens, u64 bishopQueens) {
  u64 kings = SquareMask[pos.KingSquare[WHITE]] | SquareMask[pos.KingSquare[BLACK]];
  return (BishopLines(pos, to) & bishopQueens) | (RookLines(pos, to) & rookQueens) | (KingAttacks[to] & kings) |
         (KnightAttacks[to] & (pos.PieceBB[WHITE_KNIGHT] | pos.PieceBB[BLACK_KNIGHT])) |
         (WhitePawnAttacks[to] & pos.PieceBB[BLACK_PAWN]) | (BlackPawnAttacks[to] & pos.PieceBB[WHITE_PAWN]);
}

// The score of a move that wins gain (not 0): the victim's square value counts.
i16 WinningScore(Position& pos, int placement, int victim, int to, int gain) {
  if (victim != EMPTY) placement += Psq(pos, victim, to);
  return Wrap(placement + gain + WINNING_BASE);
}

// Plays out the recaptures after the first move; returns the result or, when
// the exchange runs to its end, writes the gains and their count.
bool PlayOut(Position& pos, Exchange& x, int piece, int victim, int placement, i16* gain, int& count, i16& result) {
  int side = static_cast<int>(pos.SideToMove) ^ 1;
  int occupant = piece;
  int d = 1;
  while (x.attackers & pos.ColourBB[side]) {
    int square = 0;
    int code = x.TakeLeastValuable(side, square);
    if (code == 0) break;
    x.start[side] = code;
    gain[d] = Wrap(ExchangeValue[occupant] - gain[d - 1]);
    occupant = code;
    if (gain[d] - ExchangeValue[code] > DECISION_MARGIN) {
      if (side != static_cast<int>(pos.SideToMove)) {
        result = Wrap(placement + LOSING_BASE + (ExchangeValue[code] >> 1) - gain[d]);
      } else {
        result = gain[0] == 0 ? Wrap(placement + EVEN_SCORE) : WinningScore(pos, placement, victim, x.to, gain[d - 2]);
      }
      return true;
    }
    if (IsPawnOrBishop(code)) {
      x.BishopXRay(square);
    } else if (IsRook(code)) {
      x.RookXRay(square);
    } else if (IsQueen(code)) {
      x.QueenXRay(square);
    }
    ++d;
    side ^= 1;
  }
  count = d;
  return false;
}

}  // namespace

i16 ExchangeScore(Position& pos, int piece, int from, int to, u64 rookQueens, u64 bishopQueens) {
  int victim = pos.Board[to];
  i16 gain[MAX_GAINS];
  gain[0] = ExchangeValue[victim];
  int placement = -Psq(pos, piece, from);

  Exchange x{pos, to, AttackersOf(pos, to, rookQueens, bishopQueens), rookQueens, bishopQueens, {}};
  bool pawnAttacks =
      ((WhitePawnAttacks[to] & pos.PieceBB[BLACK_PAWN]) | (BlackPawnAttacks[to] & pos.PieceBB[WHITE_PAWN])) != 0;
  const int* start = pawnAttacks ? PAWN_START : KNIGHT_START;
  x.start[BLACK] = start[BLACK];
  x.start[WHITE] = start[WHITE];
  x.attackers &= ~SquareMask[from];

  if ((piece == WHITE_PAWN && to < A7) || (piece == BLACK_PAWN && to > H2)) {
    gain[0] = Wrap(gain[0] + PROMOTION_GAIN);
    piece = PieceCode(QUEEN, piece & 1 ? WHITE : BLACK);
    x.BishopXRay(from);
  } else if (IsPawnOrBishop(piece)) {
    x.BishopXRay(from);
  } else if (IsRook(piece)) {
    x.RookXRay(from);
  } else if (IsQueen(piece)) {
    x.rookQueens &= ~SquareMask[from];
    x.bishopQueens &= ~SquareMask[from];
    if (!x.RookXRay(from)) x.BishopXRay(from);
  } else if (piece >= WHITE_KING) {
    if (x.attackers & pos.ColourBB[static_cast<int>(pos.SideToMove) ^ 1]) return ILLEGAL_KING_CAPTURE;
  }
  placement += Psq(pos, piece, to);

  if ((x.attackers & pos.ColourBB[static_cast<int>(pos.SideToMove) ^ 1]) == 0) {
    return gain[0] != 0 ? WinningScore(pos, placement, victim, to, gain[0]) : Wrap(placement + EVEN_SCORE);
  }
  x.rookQueens &= ~x.attackers;
  x.bishopQueens &= ~x.attackers;

  int count = 0;
  i16 result = 0;
  if (PlayOut(pos, x, piece, victim, placement, gain, count, result)) return result;

  for (int i = count - 1; i >= 1; --i) {
    gain[i - 1] = std::min(gain[i - 1], Wrap(-gain[i]));
  }
  if (gain[0] <= -DECISION_MARGIN) return Wrap(placement + gain[0] + LOSING_BASE);
  if (gain[0] == 0) return Wrap(placement + EVEN_SCORE);
  return WinningScore(pos, placement, victim, to, gain[0]);
}

int ExchangeLoss(Position& pos, Move move) {
  const int kind = MoveKind(move);
  const int from = MoveFrom(move), to = MoveTo(move), piece = pos.Board[from];
  if ((kind != KIND_QUIET && kind != KIND_CAPTURE) || piece >= WHITE_KING) return 0;
  if (kind == KIND_CAPTURE && ExchangeValue[pos.Board[to]] >= ExchangeValue[piece] - DECISION_MARGIN) return 0;
  return std::max(0, LOSING_BASE - ExchangeScore(pos, piece, from, to, RooksAndQueens(pos), BishopsAndQueens(pos)));
}
