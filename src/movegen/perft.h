// Perft: walking the tree of legal moves to count its nodes, with the
// generators, make/unmake and the legality test exactly as the search uses them.
#pragma once

#include "board/position.h"
#include "board/types.h"

// Deepest depth RunPerft and divide walk; deeper requests are cut to it.
constexpr int PERFT_MAX_DEPTH = 127;

// Number of nodes at plies 1 to depth below the current position together
// (Perft(1) is the number of legal moves). Works on the records from UndoTop
// on and the move stack from its bottom; leaves the position and UndoTop as it
// found them.
u64 Perft(Position& pos, int depth);

// Number of positions exactly depth plies below the current position, under
// the same protocol as Perft.
u64 PerftLeaves(Position& pos, int depth);

// The "perft" command: Perft from the current position for every depth from
// 1 to depth, printing one line per depth (depth, seconds, nodes), the total
// and MovesMade.
void RunPerft(Position& pos, int depth);

// The "divide" command: for each legal move of the current position in
// generation order, its text and the number of positions depth - 1 plies below
// it ("e2e4: 20"), then "Nodes: " and their sum.
void RunDivide(Position& pos, int depth);
