// The line the search expects, read back out of the transposition table.
#pragma once

#include <cstddef>

#include "board/position.h"
#include "board/types.h"

// Room for the text of a whole line.
constexpr size_t PV_TEXT_SIZE = 4096;

// The most moves a line shows. The text stays far inside PV_TEXT_SIZE (six
// characters a move and a closing text of at most 22), and the moves played
// to read it use at most this many records above UndoTop.
constexpr int PV_MAX_MOVES = 12;

// Writes into buffer, for at most plies moves (never more than PV_MAX_MOVES,
// nor more than the records left from UndoTop on), the table's move of the
// current position in coordinate notation and a blank, then plays it and goes
// on from the position reached. firstMove, when it is a legal move, stands
// first instead of the table's: the move the search chose, whatever the
// table's entry for the position says. The line ends at a position the table
// does not know ("NOE "), whose move is not a legal move of it ("NOE " too),
// or whose entry holds a result: "# " (mated), "1/2 - 1/2 (stalemate)",
// "1/2 - 1/2 (repetition)", "NULL" (a passed move) or "ERROR: %x" (anything
// else, move 0 included); and after a move that draws the game by a third
// occurrence of a position ("1/2 - 1/2 (repetition)") or by the fifty-move
// rule ("1/2 - 1/2 (50 moves)"). The position and UndoTop are as they were on return.
// Returns the length of the moves alone, each with its blank, before what
// closes the line.
size_t PvToText(Position& pos, char* buffer, int plies, Move firstMove = NO_MOVE);
