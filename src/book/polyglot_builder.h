// Writing a Polyglot book (".bin") from the position databases: the same
// moves the engine's own books lead into, in the format other programs read.
#pragma once

#include <vector>

#include "board/position.h"
#include "book/message_text.h"
#include "book/polyglot_book.h"
#include "book/position_database.h"

inline constexpr const char* POLYGLOT_BOOK_NAME = "book.bin";

// The largest weight an entry holds.
constexpr u64 MAX_POLYGLOT_WEIGHT = 0xffff;

// Writes the entries sorted by key, then by weight, highest first, then by
// move. False, with the message, when the file cannot be written whole.
bool WritePolyglotBook(const char* name, std::vector<PolyglotEntry> entries, MessageText& message);

// The entries for every position of the open databases: each legal move that
// leads into a position the books take (BookTakesRecord), weighted 2 x wins +
// draws of the side that makes the move, counted in the games through the
// position it leads to. When the largest weight does not fit in 16 bits, all
// are scaled down by the same factor (a weight never below 1). False, with the
// message in the databases', for a database whose records do not read back
// as positions with their keys. Leaves the initial position on the board.
bool PolyglotEntriesOf(Position& pos, PositionDatabase& databases, std::vector<PolyglotEntry>& entries);
