// The xboard protocol, version 2, as the engine speaks it: the start-up
// exchange, its own moves and the results it claims.
#pragma once

// Unbuffered streams, the greeting and the features; the tables are built and
// the book opened while the interface waits for "feature done=1". Always true.
bool XboardHandshake();

// The engine's turn: a book move, or a search and its move, then a claim when
// the game has ended, or pondering.
void EngineMove();

// The book is asked while fewer game moves than this were played.
constexpr int BOOK_MOVE_LIMIT = 64;
