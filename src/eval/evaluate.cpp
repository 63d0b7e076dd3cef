#include "eval/evaluate.h"

#include "board/position.h"
#include "eval/eval_side.h"
#include "eval/imbalance.h"
#include "eval/king_safety.h"
#include "eval/pawn_structure.h"
#include "eval/piece_terms.h"
#include "eval/square_tables.h"

namespace {

// Below this and without pawns (at most one minor piece left) nobody can win.
constexpr int BARE_KINGS_MATERIAL = 4;
// A side ahead without pawns and with less than this in pieces cannot win either.
constexpr int DRAWISH_PIECE_MATERIAL = 5;

template <int C>
int MinorPieces(Position& pos) {
  return PopCount(pos.PieceBB[PieceCode(KNIGHT, C)] | pos.PieceBB[PieceCode(BISHOP, C)]);
}
template <int C>
int MajorPieces(Position& pos) {
  return PopCount(pos.PieceBB[PieceCode(ROOK, C)] | pos.PieceBB[PieceCode(QUEEN, C)]);
}

// The score of all terms, positive when white stands better.
int EvaluateForWhite(Position& pos) {
  const int pawns = pos.PawnCount[BLACK] + pos.PawnCount[WHITE];
  // The pawn cache is large and read last, while the entry is on its way.
  if (pawns > 0) PrefetchPawnEntry(pos);
  // Kings are read at their own squares, black's too.
  const i16* kingTable = SquareTableOf(pos, KING);
  int score = kingTable[pos.KingSquare[WHITE]] - kingTable[pos.KingSquare[BLACK]];

  int whiteDanger = 0, blackDanger = 0;
  if (pos.TotalMaterial >= SHELTER_MATERIAL) {
    score += KingShelter<WHITE>(pos) - KingShelter<BLACK>(pos);
    whiteDanger = DangerIndex<WHITE>(pos);
    blackDanger = DangerIndex<BLACK>(pos);
  }

  PieceTally white = PieceTerms<WHITE>(pos, pawns);
  PieceTally black = PieceTerms<BLACK>(pos, pawns);
  score += white.score - black.score;

  score += MaterialImbalance(pos, MinorPieces<WHITE>(pos) - MinorPieces<BLACK>(pos),
                             MajorPieces<WHITE>(pos) - MajorPieces<BLACK>(pos));

  score -= KingDangerPenalty<WHITE>(pos, whiteDanger, black.kingAttack);
  score += KingDangerPenalty<BLACK>(pos, blackDanger, white.kingAttack);

  if (pawns > 0) score += CachedPawnStructureScore(pos);
  return score;
}

}  // namespace

i16 Evaluate(Position& pos, i16, i16) {
  if (pos.PawnCount[BLACK] + pos.PawnCount[WHITE] == 0 && pos.TotalMaterial < BARE_KINGS_MATERIAL) return 0;
  int score = EvaluateForWhite(pos);
  if (pos.SideToMove == BLACK) score = -score;
  if (score > 0 && pos.PawnCount[pos.SideToMove] == 0 && pos.PieceMaterial[pos.SideToMove] < DRAWISH_PIECE_MATERIAL) {
    score = 0;
  }
  return static_cast<i16>(score);  // the low 16 bits
}
