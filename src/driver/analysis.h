// Analysis mode: the position is searched without end, a thinking line per
// iteration, until the interface's next command; no move is sent.
#pragma once

#include <string>

#include "board/position.h"
#include "engine/engine.h"

// The book moves of the position on the board: a line " MOVE" for each (" MOVE
// 52.1%" from a Polyglot book: its share of the weights), then an empty line.
std::string BookMovesText(Engine& engine);

// In analysis mode, while an analysis is pending and nothing waits for the
// command loop: analyses the position on the board. A position without legal
// moves, or drawn already, is not searched: nothing is printed.
void AnalyzeWhilePending(Engine& engine);
