// The Polyglot book the interface names ("BookFile"): while one is open, the
// engine's book moves come from it instead of its own book.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// Opens the Polyglot book at path; an empty path closes it. False when the
// file cannot serve as a book: no Polyglot book is used then, and
// BookFileMessage() says why.
bool OpenBookFile(Engine& engine, const std::string& path);

// Whether a Polyglot book is open.
bool UsingBookFile(Engine& engine);

// What the last OpenBookFile found: the book's entries, or why it was refused.
const char* BookFileMessage(Engine& engine);

// A move of the Polyglot book for the position on the board, drawn in
// proportion to the weights; 0 when the book has no legal move for it.
Move BookFileMove(Engine& engine);

// A book move as "bk" shows it: with its share of the weights, in percent,
// when the book gives weights.
struct BookChoice {
  Move move;
  std::optional<double> percent;
};

// The moves the book in use (the Polyglot book, else the engine's own) has for
// the position on the board; none while OwnBook is off.
std::vector<BookChoice> BookChoices(Engine& engine);
