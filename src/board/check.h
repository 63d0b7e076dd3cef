// Which enemy pieces attack a king: before generating moves (FindCheckers) and
// after making one (KingLeftInCheck). Both look outward from the king square
// and try a sliding lookup only when an enemy slider stands on an empty-board ray.
#pragma once

#include "board/enemy_attacks.h"
#include "board/position.h"

// Fills record.checkers with the enemy pieces that give check to the side to
// move. kingRookRay is refreshed whenever an enemy rook or queen stands on the
// king's rank or file rays, and set to 0 when only diagonal sliders were looked
// at; kingBishopRay whenever an enemy bishop or queen stands on a diagonal ray.
void FindCheckers(Position& pos, UndoRecord& record);

// After a castling move of that colour has been made: true when the king's home
// square or the square it passed is attacked, or the enemy king stands beside the path.
bool WhiteCastlePathAttacked(Position& pos, Move move);
bool BlackCastlePathAttacked(Position& pos, Move move);

// True when the move just made by mover left mover's king attacked, or was a
// castling out of or through check. The enemy king is not counted as an attacker.
// Inline, with a branch on the colour: the search asks it of every move it makes.
inline bool KingLeftInCheck(Position& pos, Move move, int mover) {
  if (mover == WHITE) {
    return AttackedByEnemy<WHITE>(pos, pos.KingSquare[WHITE]) || (IsCastling(move) && WhiteCastlePathAttacked(pos, move));
  }
  return AttackedByEnemy<BLACK>(pos, pos.KingSquare[BLACK]) || (IsCastling(move) && BlackCastlePathAttacked(pos, move));
}

// True when the two kings stand side by side, which no legal move allows.
bool KingsTouch(Position& pos);
