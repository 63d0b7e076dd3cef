#include "driver/eval_commands.h"

#include <cstdio>

#include "eval/evaluate.h"
#include "search/score.h"

void EvalCommand(Engine&, Position& pos, const char*) {
  std::printf("Eval: %d\n", static_cast<int>(Evaluate(pos, -FULL_WINDOW, FULL_WINDOW)));
}
