// The positions the engine refuses to load, and the castling rights and
// en-passant squares it reads as absent: anything that no game can reach and
// that would make tables be indexed off the board or moves corrupt the position.
#pragma once

#include "board/position.h"
#include "board/types.h"

// True when the pieces of board can stand in a game: one king of each colour,
// at most 16 pieces and 8 pawns a colour, no more pieces of a kind than the
// missing pawns could have promoted to, and no pawn on the first or last rank.
bool PiecesAreSound(const u8* board);

// Clears the castling rights whose king or rook is not on its home square, and
// an en-passant square that the last move cannot have made: it must lie on the
// sixth rank (white to move) or third rank (black to move), empty, with the
// square behind it empty and an enemy pawn in front of it.
void DropImpossibleRights(Position& pos);

// True when the side to move could take the enemy king: the side not to move
// is in check, or the two kings stand side by side.
bool SideNotToMoveAttacked(Position& pos);
