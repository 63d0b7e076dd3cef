// The xboard thinking line: what the engine tells of each completed iteration.
#pragma once

#include "search/think.h"

// "    depth     score     centiseconds     nodes  moves", a mate as 100000 + N
// (mate in N moves) or -100000 - N (mated in N). Where the driver sends
// completed iterations.
void PrintThinkingLine(const IterationReport& report);

// The score of the thinking line: centipawns, or the mate convention above.
int ThinkingLineScore(i16 score);
