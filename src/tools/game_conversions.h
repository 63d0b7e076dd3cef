// Game files to PGN ("game2pgn") and to a position file ("game2pos"), both
// appending to their output, with a progress display in per cent.
#pragma once

#include <cstdio>

#include "board/position.h"
#include "tools/game_record.h"

// Appends every game of the game file as PGN text; the board is not touched.
void GameToPgn(Position& pos, const char* gameName, const char* pgnName);

// Appends the position lines of every game of the game file, each played from
// the initial position, which is left on the board.
void GameToPos(Position& pos, const char* gameName, const char* positionName);

// One game as two lines: the "Result" tag, then the moves in coordinate
// notation with their move numbers and the result ("1. e2e4 e7e5 2. g1f3 1-0").
void WritePgnGame(const GameRecord& game, std::FILE* out);
