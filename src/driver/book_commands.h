// The console commands of the opening books and the position databases.
#pragma once

#include "board/position.h"
#include "book/position_database.h"
#include "engine/engine.h"

// "bookshow": whether the current position is in the book of its side to move.
void BookShowCommand(Engine& engine, const char* word);
// "dbshow" (binary search) and "dbshowlin" (scan): the current position's statistics.
void DatabaseShowCommand(Engine& engine, const char* word);
// "bookcreate": both books from "white.db" and "black.db".
void BookCreateCommand(Engine&, const char* word);
// "dbcreate POSITIONFILE PREFIX": PREFIX_white.db and PREFIX_black.db.
void DatabaseCreateCommand(Engine&, const char* word);

// Looks the current position up in an open pair of databases and prints its
// statistics, or that there are none.
void ShowDatabaseRecord(Position& pos, PositionDatabase& databases, bool linearScan);
