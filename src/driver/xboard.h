// The xboard protocol, version 2, as the engine speaks it: the start-up
// exchange, its own moves and the results it claims.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// Unbuffered streams, the greeting and the features; the tables are built and
// the book opened while the interface waits for "feature done=1". Never waits
// for the interface's replies to the features: "accepted" and "rejected" are
// read later as commands. Always true.
bool XboardHandshake(Engine& engine);

// The engine's turn: a book move, or a search and its move, then a claim when
// the game has ended, or pondering. A command that takes the turn back ("force",
// "new", "result", "undo", ...) waiting before or arriving during the search
// means no move and no claim.
void EngineMove(Engine& engine);

// After the engine's move: ponders on the reply the table expects, when there
// is one and pondering is on.
void PonderIfExpected(Engine& engine);

// The move the engine expects next, for "hint": the guess it ponders on, the
// best move of a running analysis, the table's move for the side to move, or
// when the table has none (a game's first move) a suggestion of the book or
// of a shallow search.
Move HintMove(Engine& engine);
