// Console commands that load, show and play on the board: "new", "setboard",
// moves in coordinate notation, and "d".
#pragma once

// True when word is a coordinate move that the engine takes in its present state.
bool AcceptsGameMove(const char* word);

// Plays a coordinate move that is legal on the game position; answers
// "Illegal move: " and the word otherwise, changing nothing.
void GameMoveCommand(const char* word);

// "new": the initial position; the engine answers the moves that follow.
void NewCommand(const char* word);

// "setboard FEN": reads the rest of the line (at most 254 characters; the rest
// of a longer line is discarded) and loads it. A refused position is reported
// to the interface with "tellusererror Illegal position" and changes nothing.
// An EPD "bm" or "am" move that cannot be read gets the loader's warning
// instead, and the new position stays. Either failure is logged.
void SetboardCommand(const char* word);

// "d": the board diagram, then "FEN: ", "Key: " (16 hexadecimal digits) and
// the EPD "bm: " and "am: " moves when set.
void ShowBoardCommand(const char* word);
