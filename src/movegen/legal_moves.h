// The moves of the side to move as the generators write them, and whether a
// move from outside (the interface, a file, the book) is one of them.
#pragma once

#include "board/position.h"
#include "movegen/move_stack.h"

// Finds the checkers of the side to move into record, then writes that side's
// moves into list (the evasions when in check, all moves otherwise); returns
// one past the last. The list needs room for MAX_LIST_MOVES entries.
MoveEntry* GenerateMovesOf(Position& pos, MoveEntry* list, UndoRecord& record);

// True when the generators write move for the side to move in the present
// position. The move may still leave the mover's king attacked.
bool IsGeneratedMove(Position& pos, Move move, UndoRecord& record);

// True when move is generated and making it does not leave the mover's king
// attacked. Uses a list of its own.
bool IsGeneratedLegalMove(Position& pos, Move move);
