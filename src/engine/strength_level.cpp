#include "engine/strength_level.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "board/position.h"
#include "search/eval_noise.h"
#include "search/search_limits.h"
#include "search/think.h"

int SkillLevel = FULL_STRENGTH_LEVEL;
bool LimitStrength = false;

namespace {

// Level 0 searches about this many nodes a move, and each level above it this
// many times more: each level a clear step above the one below it.
constexpr double NODES_AT_LEVEL_0 = 40;
constexpr double NODE_GROWTH_PER_LEVEL = 1.6;
// Each level below full strength may lose this much more with its choice.
constexpr i16 LOSS_PER_LEVEL = 12;
constexpr i16 TEMPERATURE_PER_LEVEL = 5;
// The levels below this one see with noise, more the lower they are.
constexpr double NOISY_LEVELS = 5;
constexpr i16 NOISE_PER_LEVEL = 30;
// The lines a level below full strength chooses among.
constexpr u32 LINES_TO_CHOOSE_FROM = 4;

// The rating of each whole level, measured in games against rated opponents
// (docs/strength.md).
constexpr int LEVEL_ELO[FULL_STRENGTH_LEVEL + 1] = {
    1000, 1070, 1140, 1210, 1280, 1350, 1420, 1490, 1560, 1630, 1700,
    1770, 1840, 1910, 1980, 2050, 2120, 2190, 2260, 2330, 2400,
};

LevelSettings LastSearchSettings{};

}  // namespace

const int MIN_LIMIT_ELO = LEVEL_ELO[0];
const int MAX_LIMIT_ELO = LEVEL_ELO[FULL_STRENGTH_LEVEL];
int LimitElo = MAX_LIMIT_ELO;

LevelSettings SettingsOfLevel(double level) {
  if (level >= FULL_STRENGTH_LEVEL) return {0, 0, 1, 0};
  level = std::max(level, 0.0);
  const double below = FULL_STRENGTH_LEVEL - level;
  const double noise = std::max(NOISY_LEVELS - level, 0.0) * NOISE_PER_LEVEL;
  return {static_cast<u64>(std::llround(NODES_AT_LEVEL_0 * std::pow(NODE_GROWTH_PER_LEVEL, level))),
          static_cast<i16>(std::lround(below * LOSS_PER_LEVEL)),
          static_cast<i16>(std::max(1L, std::lround(below * TEMPERATURE_PER_LEVEL))), static_cast<i16>(std::lround(noise))};
}

Move ChooseAmongLines(const MoveEntry* lines, u32 count, const LevelSettings& settings, u64 seed) {
  if (count == 0) return NO_MOVE;
  const i16 best = lines[0].score;
  double weights[MAX_MULTI_PV_LINES];
  double total = 0;
  u32 candidates = 0;
  for (; candidates < std::min(count, MAX_MULTI_PV_LINES); ++candidates) {
    const int loss = best - lines[candidates].score;
    if (loss > settings.maxLoss) break;
    total += weights[candidates] = std::exp(-static_cast<double>(loss) / settings.temperature);
  }
  // A draw in [0, total): the first line whose weights reach past it.
  constexpr double TWO_TO_53 = 9007199254740992.0;
  double draw = static_cast<double>(MixBits(seed) >> 11) / TWO_TO_53 * total;
  for (u32 line = 0; line < candidates; ++line) {
    if (draw < weights[line]) return lines[line].move;
    draw -= weights[line];
  }
  return lines[candidates - 1].move;
}

double LevelOfElo(int elo) {
  if (elo <= LEVEL_ELO[0]) return 0;
  const int* above = std::upper_bound(std::begin(LEVEL_ELO), std::end(LEVEL_ELO), elo);
  if (above == std::end(LEVEL_ELO)) return FULL_STRENGTH_LEVEL;
  const int level = static_cast<int>(above - std::begin(LEVEL_ELO)) - 1;
  return level + static_cast<double>(elo - LEVEL_ELO[level]) / (*above - LEVEL_ELO[level]);
}

double ChosenLevel() { return LimitStrength ? LevelOfElo(LimitElo) : SkillLevel; }

bool PlaysAtFullStrength() { return ChosenLevel() >= FULL_STRENGTH_LEVEL; }

void PrepareLevel(bool playing) {
  LastSearchSettings = playing ? SettingsOfLevel(ChosenLevel()) : SettingsOfLevel(FULL_STRENGTH_LEVEL);
  const LevelSettings& settings = LastSearchSettings;
  if (settings.nodes > 0) NodeLimit = NodeLimit > 0 ? std::min(NodeLimit, settings.nodes) : settings.nodes;
  ChoiceLines = settings.maxLoss > 0 ? LINES_TO_CHOOSE_FROM : 0;
  EvalNoiseAmplitude = settings.evalNoise;
}

void LeaveLevel() {
  ChoiceLines = 0;
  EvalNoiseAmplitude = 0;
}

Move LevelMove() {
  if (LastSearchSettings.maxLoss == 0 || LastIterationLineCount == 0 || LastIterationLines[0].move != BestMove) {
    return BestMove;
  }
  const u64 seed = HashKey ^ (SideToMove == WHITE ? 0 : ~0ull);
  return ChooseAmongLines(LastIterationLines, LastIterationLineCount, LastSearchSettings, seed);
}
