// Console commands that load, show and play on the board: "new", "setboard",
// moves in coordinate notation, and "d".
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// True when word is a coordinate move that the engine takes in its present state.
bool AcceptsGameMove(Engine& engine, const char* word);

// Plays a coordinate move that is legal on the game position; answers
// "Illegal move: " and the word otherwise, changing nothing.
void GameMoveCommand(Engine& engine, const char* word);

// "new": the initial position; the engine answers the moves that follow.
void NewCommand(Engine& engine, const char* word);

// "setboard FEN": reads the rest of the line (at most 254 characters; the rest
// of a longer line is discarded) and loads it. A refused position is reported
// to the interface with "tellusererror Illegal position" and changes nothing.
// An EPD "bm" or "am" move that cannot be read gets the loader's warning
// instead, and the new position stays. Either failure is logged.
void SetboardCommand(Engine& engine, const char* word);

// "white" and "black": the side to move of the game position, after a guess
// pondered on is taken back. A switch that would let the new side take the
// enemy king is refused with "tellusererror Illegal position" and leaves the
// position as it was; one that is made drops the en-passant square, which
// only the other side could have used.
void SetSideToMove(Engine& engine, u32 side);

// "d": the board diagram, then "FEN: ", "Key: " (16 hexadecimal digits) and
// the EPD "bm: " and "am: " moves when set.
void ShowBoardCommand(Engine& engine, const char* word);
