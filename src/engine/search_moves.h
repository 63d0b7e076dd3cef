// "searchmoves": an interface's list of the moves a search may choose among.
#pragma once

#include <string>
#include <vector>

#include "board/position.h"
#include "engine/engine.h"

// Restricts the next searches to the legal moves of the position on the board
// among texts (coordinate notation, written as the game's moves are: castling
// as the king's move, a lower-case promotion letter); texts that are no such
// move are passed over. Returns how many were taken. When none is, every
// move may be searched.
int SearchOnlyMoves(Engine& engine, const std::vector<std::string>& texts);

// Every move may be searched again.
void SearchEveryMove(Engine& engine);
