// Reading PGN games: the tag section (only the "Result" tag counts) and the
// movetext, whose every move is checked against the rules as it is played.
// Errors that end the reading of the file are thrown as ConversionError with
// one of these texts: "Result Error 1", "Result Error 2", "Result * error",
// "wrong end result 2", "MOVE NOT LEGAL 1", "MOVE NOT LEGAL 2 - check revealed".
#pragma once

#include "board/position.h"
#include "tools/game_record.h"
#include "tools/pgn_input.h"

// Reads the tag lines of the next game and sets the record's result from its
// "Result" tag. False at the end of the text.
bool ReadPgnTags(GameRecord& game, PgnInput& in);

// Reads the next game, tags and movetext, playing its moves on the board from
// the position there and taking them all back before it returns. Non-zero
// when a game with at least one move was read; 0 at the end of the text, for
// a game without moves, and for a game with a token that is no move (it is
// reported and the rest of the game is passed over).
int ReadPgnGame(Position& pos, GameRecord& game, PgnInput& in);
