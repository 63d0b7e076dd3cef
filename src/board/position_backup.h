// One saved copy of everything a position load replaces: the position, its
// history, the game copy and the EPD moves. A load that fails puts the copy
// back, so that a refused position leaves the engine exactly as it was.
#pragma once

void BackUpPosition();
void RestorePosition();
