// The console command loop: one word at a time from standard input, logged,
// then dispatched by the command table.
#pragma once

#include "board/types.h"

// What the engine does with the next move that arrives from the interface.
enum EngineStates : i32 {
  ENGINE_FORCE = 0,      // moves are played, the engine does not answer
  ENGINE_THINKING = 1,   // a search for the engine's own move is running
  ENGINE_PONDERING = 2,  // a search on the opponent's time, with the ponder move on the board
  ENGINE_PLAYING = 3,    // the engine answers each move of the opponent
  ENGINE_QUIT = 4,
};

extern i32 EngineState;
extern bool PonderEnabled;

// Runs until "quit" or the end of standard input.
void CommandLoop();

// Reads one word and acts on it. False when the loop must end (quit, end of input).
bool ExecuteNextCommand();
