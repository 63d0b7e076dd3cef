// What both protocol front ends share around a search: the engine's start-up,
// the book, and the move a finished search leaves to be played.
#pragma once

#include <string>

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// The name the interfaces show.
inline constexpr const char* ENGINE_NAME = "Tavrel";
inline constexpr const char* ENGINE_VERSION = "1.1";

// The engine's tables, an empty transposition table, and the book opened.
// False when no book could be opened (the book's message tells why).
bool InitEngine(Engine& engine);

// The book is asked while fewer game moves than this were played.
constexpr int BOOK_MOVE_LIMIT = 64;

// A move from the book for the position on the board (the Polyglot book when
// one is open, see book_file.h); 0 when the book is off, the game is past
// BOOK_MOVE_LIMIT, or the book has no move for the position.
Move ChooseBookMove(Engine& engine);

// The answer of the last search as a move that may be played: BestMove (or
// at a strength level, the level's choice, LevelMove) when it is a legal move
// or a code for the game's end; otherwise (a search cut
// off before it had a move) the first legal move, or GAME_MATED /
// GAME_STALEMATE when there is none.
Move PlayableBestMove(Engine& engine);

// GAME_MATED or GAME_STALEMATE when the side to move has no legal move; 0 otherwise.
Move GameEndOnBoard(Position& pos);

// The first legal move of the position, in the order the generators write them; 0 when none.
Move FirstLegalMove(Position& pos);

// Opens the book from the first folder that holds one (see book/), with
// namedFolder, which the interface may name, as the last place looked in.
// False when none holds a book.
bool OpenBookFrom(Engine& engine, const std::string& namedFolder);
