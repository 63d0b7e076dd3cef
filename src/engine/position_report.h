// The position as the operator sees it with "d".
#pragma once

#include "board/position.h"

// The board diagram, then "FEN: " with the position text, "Key: " with the key
// in 16 hexadecimal digits, and the EPD "bm: " and "am: " moves when set.
void ShowPosition(Position& pos);
