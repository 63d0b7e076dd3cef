// The UCI front end: the engine as every UCI interface drives it, over the
// same engine core as the xboard front end.
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// Answers the "uci" that was the first word, then reads and carries out one
// command a line until "quit" or the end of input.
void RunUci(Engine& engine);
