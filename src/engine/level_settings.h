// What a strength level changes, and the range of the options that choose it.
#pragma once

#include "board/types.h"

constexpr int FULL_STRENGTH_LEVEL = 20;

// What a level changes; a level of FULL_STRENGTH_LEVEL (or above) changes nothing.
struct LevelSettings {
  u64 nodes;        // node budget of a move on average; 0: none
  i16 maxLoss;      // the most a chosen line may score below the best, in centipawns
  i16 temperature;  // a line loss centipawns below the best is chosen with weight exp(-loss / temperature)
  i16 evalNoise;    // the evaluation's error at most, either way
};

// The range of UCI_Elo: the measured ratings of level 0 and of full strength.
extern const int MIN_LIMIT_ELO;
extern const int MAX_LIMIT_ELO;
