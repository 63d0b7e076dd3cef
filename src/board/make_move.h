// Playing a move on the position and taking it back. Every position variable,
// both keys and the history stack are updated incrementally; neither routine
// tests legality (KingLeftInCheck does, after the move is made).
#pragma once

#include <stdexcept>

#include "board/position.h"
#include "board/zobrist.h"

// A fault of the program itself, such as a move code that no move has.
class InternalError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Throws InternalError for the code of kind 3 given.
[[noreturn]] void ThrowNotAMove(Move move);

// Throws InternalError for a code of kind 3, which travels in move slots to
// report a game's end or mark a null move but is no move.
inline void RejectNotAMove(Move move) {
  if (MoveKind(move) == KIND_NOT_A_MOVE) [[unlikely]] ThrowNotAMove(move);
}

// Takes away the en-passant square before any move, the null move included,
// with its key; a square read with the loaded position has no key to take out.
inline void ClearEnPassantSquare(Position& pos) {
  if (pos.EnPassantSquare != 0) {
    if (!AtLoadedPosition(pos)) {
      u64 key = ZobristKeys[EN_PASSANT_KEY_ROW][pos.EnPassantSquare];
      pos.HashKey ^= key;
      pos.PawnHashKey ^= static_cast<u32>(key);
    }
    pos.EnPassantSquare = 0;
  }
}

// Plays move. Unless the move will never be taken back, the caller has stored
// the position into record first (SavePositionForUndo); MakeMove adds the
// moving piece's old set, the captured piece and the material change.
// Throws InternalError for a code of kind 3, before changing anything.
void MakeMove(Position& pos, Move move, UndoRecord& record);

// Takes back the last move made, with the move and record MakeMove was given.
void UnmakeMove(Position& pos, Move move, UndoRecord& record);
