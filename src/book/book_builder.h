// Building the opening books from the position databases: the positions of
// one side to move that scored well enough for the side that reaches them.
#pragma once

#include "book/message_text.h"
#include "book/opening_book.h"
#include "book/position_database.h"

// Only positions seen this early in some game enter a book.
constexpr int MAX_BOOK_PLY = 60;

// Whether a database record enters the book side (BOOK_BLACK_TO_MOVE: white
// has just moved and wants a high score; BOOK_WHITE_TO_MOVE: black has).
bool BookTakesRecord(int side, const PositionRecord& record);

// Writes baseName.mbk and baseName.mbx from every record of an open database
// file of the same side to move, then prints the database's overall score.
// Failures go to message.
bool BuildBookSide(OpeningBook& book, const char* baseName, DatabaseFile& database, int side,
                   MessageText& message);

// "bookcreate": both sides from the open databases; a side that fails prints
// the message and the other is still built. A side whose file is one of the
// databases is refused as a file that cannot be created.
void CreateBooks(PositionDatabase& databases);
