// Console commands that start the engine's play: "go", "result" and "test".
#pragma once

// "go": the engine plays the side to move now.
void GoCommand(const char* word);

// "result ...": the game is over; the board goes back to the initial position
// and the engine answers moves again. The words of the result are read later
// as commands and ignored.
void ResultCommand(const char* word);

// "test": a fixed endgame position with one move per control and no time
// limit worth the name, without pondering; "go" then starts the search.
void TestCommand(const char* word);

// "force": the engine stops answering moves; a guessed move on the board is
// taken back first.
void ForceCommand(const char* word);
