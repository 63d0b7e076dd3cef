#include "search/eval_noise.h"

i16 EvalNoiseAmplitude = 0;
u64 EvalNoiseSeed = 0;

i16 PositionNoise(Position& pos) {
  const u64 draw = MixBits(pos.HashKey ^ EvalNoiseSeed ^ (pos.SideToMove == WHITE ? 0 : ~0ull));
  const u64 span = 2 * static_cast<u64>(EvalNoiseAmplitude) + 1;
  return static_cast<i16>(static_cast<i64>(draw % span) - EvalNoiseAmplitude);
}
