// What the xboard front end does with the interface's words that arrive while
// a search runs: each waiting line is looked up in the command table and, by
// its row and the search under way, answered at once, kept for the command
// loop, or made to stop the search.
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// Puts the xboard front end's question into the search's look at the input.
void UseXboardInputDuringSearch(Engine& engine);

// Before the engine's own search: true when a command that takes back its
// turn already waits (what can be answered meanwhile is answered).
bool TurnTakenBackByWaitingInput(Engine& engine);
