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
int MinorPieces() {
  return PopCount(PieceBB[PieceCode(KNIGHT, C)] | PieceBB[PieceCode(BISHOP, C)]);
}
template <int C>
int MajorPieces() {
  return PopCount(PieceBB[PieceCode(ROOK, C)] | PieceBB[PieceCode(QUEEN, C)]);
}

// The score of all terms, positive when white stands better.
int EvaluateForWhite() {
  const int pawns = PawnCount[BLACK] + PawnCount[WHITE];
  // The pawn cache is large and read last, while the entry is on its way.
  if (pawns > 0) PrefetchPawnEntry();
  // Kings are read at their own squares, black's too.
  const i16* kingTable = SquareTableOf(KING);
  int score = kingTable[KingSquare[WHITE]] - kingTable[KingSquare[BLACK]];

  int whiteDanger = 0, blackDanger = 0;
  if (TotalMaterial >= SHELTER_MATERIAL) {
    score += KingShelter<WHITE>() - KingShelter<BLACK>();
    whiteDanger = DangerIndex<WHITE>();
    blackDanger = DangerIndex<BLACK>();
  }

  PieceTally white = PieceTerms<WHITE>(pawns);
  PieceTally black = PieceTerms<BLACK>(pawns);
  score += white.score - black.score;

  score += MaterialImbalance(MinorPieces<WHITE>() - MinorPieces<BLACK>(),
                             MajorPieces<WHITE>() - MajorPieces<BLACK>());

  score -= KingDangerPenalty<WHITE>(whiteDanger, black.kingAttack);
  score += KingDangerPenalty<BLACK>(blackDanger, white.kingAttack);

  if (pawns > 0) score += CachedPawnStructureScore();
  return score;
}

}  // namespace

i16 Evaluate(i16, i16) {
  if (PawnCount[BLACK] + PawnCount[WHITE] == 0 && TotalMaterial < BARE_KINGS_MATERIAL) return 0;
  int score = EvaluateForWhite();
  if (SideToMove == BLACK) score = -score;
  if (score > 0 && PawnCount[SideToMove] == 0 && PieceMaterial[SideToMove] < DRAWISH_PIECE_MATERIAL) {
    score = 0;
  }
  return static_cast<i16>(score);  // the low 16 bits
}
