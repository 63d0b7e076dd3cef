// Console words of the evaluation.
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// "eval": prints "Eval: N" with the static score of the current position from
// the side to move's point of view.
void EvalCommand(Engine& engine, const char* word);
