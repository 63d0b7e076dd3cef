#include "search/eval_noise.h"

i16 PositionNoise(const SearchLimits& limits, Position& pos) {
  const u64 draw = MixBits(pos.HashKey ^ limits.EvalNoiseSeed ^ (pos.SideToMove == WHITE ? 0 : ~0ull));
  const u64 span = 2 * static_cast<u64>(limits.EvalNoiseAmplitude) + 1;
  return static_cast<i16>(static_cast<i64>(draw % span) - limits.EvalNoiseAmplitude);
}
