// The console commands that count the move tree: "perft" and "divide".
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// "perft N": node counts for depths 1 to N (0 when no number follows).
void PerftCommand(Engine& engine, const char* word);

// "divide N": the positions N - 1 plies below each legal move, and their sum.
void DivideCommand(Engine& engine, const char* word);
