#include "driver/eval_commands.h"

#include <cstdio>

#include "eval/evaluate.h"
#include "search/score.h"

void EvalCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  std::printf("Eval: %d\n", static_cast<int>(Evaluate(pos, -FULL_WINDOW, FULL_WINDOW)));
}
