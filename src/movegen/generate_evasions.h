// Check evasion generation: the moves that can answer a check.
#pragma once

#include "movegen/move_stack.h"

// Entry [SideToMove], for a side in check, with the record FindCheckers filled
// for this position. Against a single check it writes from out onward: en
// passant (when it takes the checking pawn or lands between checker and king),
// pawn captures of the checker, then captures of the checker and blocks by
// knights, bishops, rooks and queens, pawn blocks; and in every case the king's
// steps. Pinned pieces and king steps along the checking line are written and
// left to the legality test. Returns one past the last entry written.
extern const EvasionGenerator GenerateEvasions[2];
