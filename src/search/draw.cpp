#include "search/draw.h"

#include <cstddef>

#include "board/position.h"
#include "board/zobrist.h"

namespace {

// Below this TotalMaterial and with no pawn, a side has a lone minor piece at most.
constexpr int MATING_MATERIAL = 4;
// Half-moves without capture, pawn move or castling that draw the game.
constexpr int FIFTY_MOVE_LIMIT = 100;
// The same side is to move again after two moves each at the earliest.
constexpr int FIRST_REPEAT_DISTANCE = 4;
constexpr int SAME_SIDE_STEP = 2;
// From this count on a quiet move is presumed to repeat without looking.
constexpr int PRESUMED_REPEAT_FIFTY = 76;
constexpr int MOST_REPEATS_COUNTED = 2;

// Counts, up to limit, the entries 4, 6, 8 ... before History[top] whose key
// is key. The fifty count of the entry 4 back says how far back the last
// irreversible move lies; the walk stops there, and in any case at the start
// of History (after a load the first entry's count is 0, but a history that
// was shortened at its bottom may count further back than it reaches).
int CountEarlierOccurrences(Position& pos, std::ptrdiff_t top, u64 key, int limit) {
  std::ptrdiff_t index = top - FIRST_REPEAT_DISTANCE;
  if (index < 0) return 0;
  int count = 0;
  for (int n = pos.History[index].fifty; n >= 0 && index >= 0; n -= SAME_SIDE_STEP, index -= SAME_SIDE_STEP) {
    if (pos.History[index].key == key && ++count >= limit) break;
  }
  return count;
}

bool NoMatingMaterial(Position& pos) {
  return pos.TotalMaterial < MATING_MATERIAL && pos.PawnCount[WHITE] == 0 && pos.PawnCount[BLACK] == 0;
}

}  // namespace

Move DrawCheck(Position& pos, int repeats) {
  if (NoMatingMaterial(pos)) return GAME_NO_MATERIAL;
  int fifty = pos.HistoryTop->fifty;
  if (fifty < FIRST_REPEAT_DISTANCE) return 0;
  if (fifty >= FIFTY_MOVE_LIMIT) return GAME_FIFTY_MOVES;
  if (repeats > 0 && CountEarlierOccurrences(pos, pos.HistoryTop - pos.History, pos.HashKey, repeats) >= repeats) {
    return GAME_REPETITION;
  }
  return 0;
}

i32 RepetitionAfterMove(Position& pos, Move move) {
  if (MoveKind(move) != KIND_QUIET) return 0;
  int from = MoveFrom(move);
  int to = MoveTo(move);
  int piece = pos.Board[from];
  if (piece < WHITE_KNIGHT) return 0;  // a pawn, or nothing to move

  // The position after the move, as the entry that would follow the current one.
  int fifty = pos.HistoryTop->fifty + 1;
  if (fifty < FIRST_REPEAT_DISTANCE) return 0;
  if (fifty >= FIFTY_MOVE_LIMIT) return MOST_REPEATS_COUNTED;
  if (fifty >= PRESUMED_REPEAT_FIFTY) return 1;
  u64 key = pos.HashKey ^ ZobristKeys[piece][from] ^ ZobristKeys[piece][to];
  return CountEarlierOccurrences(pos, pos.HistoryTop - pos.History + 1, key, MOST_REPEATS_COUNTED);
}
