// A new position to play or analyse: the board's loader, then what a new
// position asks of the layers above the board.
#pragma once

#include "board/load_position.h"
#include "board/position.h"
#include "engine/engine.h"

// Loads the position of a FEN or EPD line as LoadBoard does, makes the search
// forget what it learnt about earlier positions, and reads the move of a "bm"
// or "am" operation into EpdBestMove or EpdAvoidMove. False, with everything
// left as it was, for text LoadBoard refuses; false too, after a warning on
// standard output and with the new position set up, when the operation's move
// cannot be read.
bool LoadPosition(Engine& engine, const char* text);

// LoadPosition for a position of the caller's own that no search will take
// up: the search's memory is left alone. How the load ended goes to outcome,
// when given.
bool ReadPositionText(Position& pos, const char* text, LoadOutcome* outcome = nullptr);

// For the commands that run a tool loading positions of its own into the
// game's board (the conversions, makebook): when the tool loaded any since
// the board's load count was loadsBefore, the search forgets what it learnt,
// as after every load. The tools search nothing, so forgetting once after
// them is as forgetting after each of their loads.
void ForgetSearchMemoryAfterLoads(Engine& engine, u32 loadsBefore);
