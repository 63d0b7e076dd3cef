// Noise in the evaluation, for the weakest strength levels: each position gets
// a fixed error of at most EvalNoiseAmplitude centipawns either way, drawn
// from its key and EvalNoiseSeed, so that a position keeps its error through
// a search and the same seed gives the same games.
#pragma once

#include "board/position.h"
#include "eval/evaluate.h"
#include "search/search_limits.h"

// A well-mixed 64-bit number from any other (one step of the splitmix64 generator).
constexpr u64 MixBits(u64 x) {
  x += 0x9e3779b97f4a7c15ull;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}

// The error of the position on the board, for the side to move.
i16 PositionNoise(const SearchLimits& limits, Position& pos);

// Evaluate, with the position's error added when there is noise. The window
// is widened by the noise, so that a score cut short by it stays a bound.
inline i16 EvaluateAtNode(const SearchLimits& limits, Position& pos, i16 alpha, i16 beta) {
  if (limits.EvalNoiseAmplitude == 0) return Evaluate(pos, alpha, beta);
  return static_cast<i16>(
      Evaluate(pos, static_cast<i16>(alpha - limits.EvalNoiseAmplitude), static_cast<i16>(beta + limits.EvalNoiseAmplitude)) +
      PositionNoise(limits, pos));
}
