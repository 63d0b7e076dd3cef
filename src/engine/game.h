// The game the engine plays: the position it started from and the moves made
// since, so that any number of them can be taken back exactly.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// Loads a position text and starts a new game there. The loader's answer: on
// a refusal nothing changes; when only an EPD move was unreadable the new
// position stands and the game starts there all the same.
bool StartGame(Engine& engine, const char* positionText);

// Starts a new game at the position on the board, with no moves made yet.
void StartGameHere(Engine& engine);

// Makes the move on the board and the game copy, counts it and logs the new
// key. A zero move changes nothing and gives false. The move must be legal.
bool PlayGameMove(Engine& engine, Move move);

// Counts a move already made on the board (a guess that the opponent played)
// as the game's next move.
void RecordGameMove(Engine& engine, Move move);

// Moves of the game that can be taken back: 0 when the position on the board
// was set up by something other than the game (a tool that loaded positions).
int MovesToTakeBack(Engine& engine);

// Takes back the last plies moves: the board, its keys, rights, en-passant
// square, fifty-move count and history become those the game had before them,
// as if it were replayed from its start. False, changing nothing, when there
// are fewer moves to take back.
bool TakeBackMoves(Engine& engine, int plies);

// The game of a position text and moves in coordinate notation (castling as
// the king's move, promotions with a lower-case letter), as an interface sends
// it before every move. When the text is where the game on the board started
// and the moves go on from its moves, only the difference is taken back or
// played, so that what the search learnt is kept. On an unreadable text or an
// illegal move nothing changes and false is returned, with the reason in error.
bool SetUpGame(Engine& engine, const std::string& positionText, const std::vector<std::string>& moves,
               std::string& error);

// Runs work, which may set up positions of its own (a measurement), then puts
// the position and the game back exactly as they were.
void KeepingTheGame(Engine& engine, const std::function<void()>& work);
