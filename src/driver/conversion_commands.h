// The console commands that convert game collections: "pgn2pos", "pgn2game",
// "pgnlist2game", "game2pgn" and "game2pos", each followed by its file names.
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// "pgn2pos PGNFILE": the sixteen position files "0.pos" to "F.pos".
void PgnToPosCommand(Engine& engine, const char* word);
// "pgn2game PGNFILE GAMEFILE": adds the games the game file does not hold.
void PgnToGameCommand(Engine& engine, const char* word);
// "pgnlist2game LISTFILE GAMEFILE": the same for every PGN file of the list.
void PgnListToGameCommand(Engine& engine, const char* word);
// "game2pgn GAMEFILE PGNFILE": appends the games as PGN.
void GameToPgnCommand(Engine& engine, const char* word);
// "game2pos GAMEFILE POSITIONFILE": appends the games' position lines.
void GameToPosCommand(Engine& engine, const char* word);
