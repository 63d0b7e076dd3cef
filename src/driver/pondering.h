// Thinking on the opponent's time: after its own move the engine plays the
// reply it expects on the board and searches on. The opponent's move then
// either confirms the guess (a ponder hit) or the guess is taken back (a miss).
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// Plays the guessed move and searches until input arrives or the search ends
// by itself. Returns with the engine's State ENGINE_PONDERING.
void StartPondering(Engine& engine, Move guess);

// The opponent played the guessed move: it becomes the game's move and the
// engine answers, counting the time spent pondering.
void PonderHit(Engine& engine);

// The opponent played another move: the guess is taken back, the move played
// (when legal; else "Illegal move: " and the engine waits) and answered.
void PonderMiss(Engine& engine, Move move, const char* word);

// Takes the guessed move back from the board, if one is there.
void TakeBackPonderMove(Engine& engine);

// Before every command that is not part of pondering itself: a guess still on
// the board is taken back, as "force" does, and the engine plays on from the
// game position (it answers the opponent's next move).
void LeavePondering(Engine& engine);
