#include "driver/thinking_line.h"

#include <cstdio>

#include "platform/clock.h"
#include "search/score.h"

void PrintThinkingLine(const IterationReport& report) {
  std::printf("    %u     %d     %lld     %llu  %s\n", report.depth, ThinkingLineScore(report.score),
              static_cast<long long>(report.elapsedMs / MS_PER_CENTISECOND),
              static_cast<unsigned long long>(report.nodes), report.moves);
}

int ThinkingLineScore(i16 score) {
  constexpr int MATE_BASE = 100000;
  if (score > MATE_SCORE_LIMIT) return MATE_BASE + MateInMoves(score);
  if (score < -MATE_SCORE_LIMIT) return -MATE_BASE + MateInMoves(score);
  return score;
}
