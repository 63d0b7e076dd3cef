// What holds of the position between any two legal moves, checked in the
// sanitizer build after the search's make and unmake. (Quiescence is not
// checked: it plays captures in positions a king capture will refute.)
#pragma once

#include "board/position.h"
#include "board/types.h"

// The first invariant that does not hold, null when all hold:
// - Board and the sets, king squares, counts and material derived from it agree;
// - HashKey and PawnHashKey are those computed afresh from the pieces and the
//   en-passant square, HashKey also holding the keys of some castling rights
//   lost since the load (never of a right still held);
// - the history's top entry has the key of the position;
// - the side that made the last move has not left its king attacked.
const char* BoardInvariantFault(Position& pos);

// The keys of the pieces on Board alone: what a load leaves in HashKey and PawnHashKey.
struct PieceKeys {
  u64 key;
  u32 pawnKey;
};
PieceKeys KeysOfPieces(Position& pos);

// Aborts with the fault, and where it was found, when an invariant does not hold.
void RequireBoardInvariants(Position& pos, const char* where);

#ifdef TAVREL_CHECK_INVARIANTS
inline constexpr bool CHECKING_BOARD_INVARIANTS = true;
#else
inline constexpr bool CHECKING_BOARD_INVARIANTS = false;
#endif

// RequireBoardInvariants in a build that defines TAVREL_CHECK_INVARIANTS; nothing in any other.
inline void CheckBoardInvariants(Position& pos, const char* where) {
  if constexpr (CHECKING_BOARD_INVARIANTS) RequireBoardInvariants(pos, where);
}
