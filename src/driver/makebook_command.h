// The console command that makes an opening book from PGN files in one go.
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// "makebook PGN... [into FOLDER]": the rest of the line names the PGN files and,
// after the word "into", the book's folder (the working folder when none is named).
void MakeBookCommand(Engine& engine, const char* word);
