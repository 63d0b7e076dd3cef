// Console commands that start the engine's play: "go", "result" and "test".
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// "go": the engine plays the side to move now.
void GoCommand(Engine& engine, const char* word);

// "result ...": the game is over; the board goes back to the initial position
// and the engine answers moves again. The rest of the line (the result and its
// comment) is read with it and logged, never run as commands.
void ResultCommand(Engine& engine, const char* word);

// "test": a fixed endgame position with one move per control and no time
// limit worth the name, without pondering; "go" then starts the search.
void TestCommand(Engine& engine, const char* word);

// "force": the engine stops answering moves; a guessed move on the board is
// taken back first.
void ForceCommand(Engine& engine, const char* word);

// "force" mode: the engine stops answering moves; a running search is told to stop.
void StopEngine(Engine& engine);
