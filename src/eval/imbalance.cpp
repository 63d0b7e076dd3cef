#include "eval/imbalance.h"

#include "board/position.h"
#include "eval/eval_side.h"

namespace {

constexpr int IMBALANCE_MATERIAL = 5;     // units of pieces of at least one side
constexpr int QUEEN_WITH_PIECE = 12;  // a queen and at least a minor piece, in units
constexpr int TWO_MAJORS_FOR_MINORS = 130;
constexpr int PIECE_UP = 100;
constexpr int MINOR_FOR_MAJOR = 60;
constexpr int LONE_QUEEN = 60;

// minorBalance is not 0.
int MinorImbalance(Position& pos, int minor, int major, bool whiteQueen, bool blackQueen) {
  switch (major) {
    case -2:
      return minor > 2 ? TWO_MAJORS_FOR_MINORS : 0;
    case -1: {
      int score = minor >= 2 ? PIECE_UP : minor == 1 ? -MINOR_FOR_MAJOR : 0;
      if (whiteQueen && !blackQueen && pos.PieceMaterial[WHITE] >= QUEEN_WITH_PIECE) score += LONE_QUEEN;
      return score;
    }
    case 0:
      if (whiteQueen != blackQueen) return 0;
      return minor > 0 ? PIECE_UP : -PIECE_UP;
    case 1: {
      int score = minor <= -2 ? -PIECE_UP : minor == -1 ? MINOR_FOR_MAJOR : 0;
      if (blackQueen && !whiteQueen && pos.PieceMaterial[BLACK] >= QUEEN_WITH_PIECE) score -= LONE_QUEEN;
      return score;
    }
    case 2:
      return minor < -2 ? -TWO_MAJORS_FOR_MINORS : 0;
    default:
      return 0;
  }
}

// minorBalance is 0.
int MajorImbalance(Position& pos, int major, bool whiteQueen, bool blackQueen) {
  if (major == 0) {
    if (whiteQueen && !blackQueen) return LONE_QUEEN;
    if (blackQueen && !whiteQueen) return -LONE_QUEEN;
    return 0;
  }
  if (whiteQueen == blackQueen) return major > 0 ? PIECE_UP : -PIECE_UP;
  if (whiteQueen) return pos.PieceMaterial[WHITE] >= QUEEN_WITH_PIECE ? LONE_QUEEN : 0;
  return pos.PieceMaterial[BLACK] >= QUEEN_WITH_PIECE ? -LONE_QUEEN : 0;
}

}  // namespace

int MaterialImbalance(Position& pos, int minorBalance, int majorBalance) {
  if (pos.PieceMaterial[BLACK] < IMBALANCE_MATERIAL && pos.PieceMaterial[WHITE] < IMBALANCE_MATERIAL) return 0;
  bool whiteQueen = HasQueen<WHITE>(pos), blackQueen = HasQueen<BLACK>(pos);
  if (minorBalance != 0) return MinorImbalance(pos, minorBalance, majorBalance, whiteQueen, blackQueen);
  return MajorImbalance(pos, majorBalance, whiteQueen, blackQueen);
}
