// A copy of everything a position is made of, to compare after a round trip (make/unmake, a refused load).
#pragma once

#include <string>
#include <vector>

#include "board/position.h"

// The bytes of every position variable, of the game copy and of the history up to the current entry, one string per
// variable. (The move slot of the current entry is left out: make writes it and unmake leaves it there.)
using PositionSnapshot = std::vector<std::string>;
PositionSnapshot TakePositionSnapshot(const Position& pos);

// The names of the variables that differ; empty when none does.
std::string Differences(const PositionSnapshot& before, const PositionSnapshot& after);
