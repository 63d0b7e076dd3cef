// Console words of the evaluation.
#pragma once

// "eval": prints "Eval: N" with the static score of the current position from
// the side to move's point of view.
void EvalCommand(const char* word);
