#include "driver/eval_commands.h"

#include <cstdio>

#include "eval/evaluate.h"

void EvalCommand(const char*) {
  constexpr i16 FULL_WINDOW = 8190;
  std::printf("Eval: %d\n", static_cast<int>(Evaluate(-FULL_WINDOW, FULL_WINDOW)));
}
