// Moves in standard algebraic notation, as PGN games and EPD operations write
// them ("e4", "exd5", "Nbd2", "O-O", "exd8=Q+"), and in long algebraic
// notation ("Ng1f3", "e2-e4", "e7e8q").
#pragma once

#include "board/position.h"
#include "board/types.h"

// The move code the text names in the present position (Board, SideToMove,
// CastleRights, EnPassantSquare), 0 when the text cannot be read or names no
// move. Only the first nine characters count, and the signs x + # ! ? = - are
// passed over. Castling is written with letter O or digit 0. Beyond finding
// the moving piece nothing is checked, except that of several pieces able to
// make a piece move the one whose move is legal is chosen: the caller tests
// the move. The position is left as it was.
Move ParseSanMove(Position& pos, const char* text);
