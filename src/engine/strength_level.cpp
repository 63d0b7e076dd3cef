#include "engine/strength_level.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "board/position.h"
#include "search/eval_noise.h"
#include "search/search_limits.h"
#include "search/think.h"

namespace {

// A level's node budget: this many nodes at level 9, this many times more a
// level above. Below level 10 the budget is less than the shallowest search
// the engine makes, which those levels all make: they differ by their noise
// and their choice alone.
constexpr double NODES_AT_LEVEL_9 = 1000;
constexpr double NODE_GROWTH_PER_LEVEL = 1.7;
constexpr double SHALLOWEST_LEVEL = 10;
// The loss a level's choice may give away: this much for each level below
// full strength, and this much more for each below SHALLOWEST_LEVEL. The
// temperature is a share of it.
constexpr double LOSS_PER_LEVEL = 5;
constexpr double LOSS_PER_SHALLOW_LEVEL = 31;
constexpr double TEMPERATURE_SHARE_OF_LOSS = 0.5;
// The levels below this one see with noise, more the lower they are: at
// the shallowest search, more noise is what sets a level clearly below the
// next (a wider choice alone hardly does).
constexpr double NOISY_LEVELS = 11;
constexpr double NOISE_PER_LEVEL = 25;
// The lines a level below full strength chooses among.
constexpr u32 LINES_TO_CHOOSE_FROM = 4;

// The rating of each whole level, fitted to games of each level against the
// one below it and against Stockfish 15.1 at fixed UCI_Elo ratings
// (docs/strength.md, data/levels/results.tsv).
constexpr int LEVEL_ELO[FULL_STRENGTH_LEVEL + 1] = {
    536, 600, 695, 742, 856, 897, 979, 1056, 1112, 1204, 1251,
    1335, 1392, 1441, 1572, 1650, 1729, 1878, 1946, 2028, 2172,
};

// Draws the node budget's spread apart from the choice.
constexpr u64 NODE_BUDGET_SALT = 0x6a09e667f3bcc908ull;

// The position's own seed: its key, and the side to move.
u64 PositionSeed(Position& pos) { return pos.HashKey ^ (pos.SideToMove == WHITE ? 0 : ~0ull); }

}  // namespace

const int MIN_LIMIT_ELO = LEVEL_ELO[0];
const int MAX_LIMIT_ELO = LEVEL_ELO[FULL_STRENGTH_LEVEL];

LevelSettings SettingsOfLevel(double level) {
  if (level >= FULL_STRENGTH_LEVEL) return {0, 0, 1, 0};
  level = std::max(level, 0.0);
  const double loss = LOSS_PER_LEVEL * (FULL_STRENGTH_LEVEL - level) +
                      LOSS_PER_SHALLOW_LEVEL * std::max(SHALLOWEST_LEVEL - level, 0.0);
  const double nodes = NODES_AT_LEVEL_9 * std::pow(NODE_GROWTH_PER_LEVEL, level - 9);
  const double noise = std::max(NOISY_LEVELS - level, 0.0) * NOISE_PER_LEVEL;
  return {static_cast<u64>(std::max(1LL, std::llround(nodes))), static_cast<i16>(std::lround(loss)),
          static_cast<i16>(std::max(1L, std::lround(loss * TEMPERATURE_SHARE_OF_LOSS))),
          static_cast<i16>(std::lround(noise))};
}

u64 NodeBudgetOfMove(const LevelSettings& settings, u64 seed) {
  constexpr double TWO_TO_64 = 18446744073709551616.0;
  const double spread = std::exp2(static_cast<double>(MixBits(seed ^ NODE_BUDGET_SALT)) / TWO_TO_64 - 0.5);
  return static_cast<u64>(std::max(1.0, std::round(static_cast<double>(settings.nodes) * spread)));
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

bool ChooseSkillLevel(Engine& engine, long level) {
  if (level < 0 || level > FULL_STRENGTH_LEVEL) return false;
  engine.SkillLevel = static_cast<int>(level);
  return true;
}

bool ChooseLimitElo(Engine& engine, long elo) {
  if (elo < MIN_LIMIT_ELO || elo > MAX_LIMIT_ELO) return false;
  engine.LimitElo = static_cast<int>(elo);
  return true;
}

double LevelOfElo(int elo) {
  if (elo <= LEVEL_ELO[0]) return 0;
  const int* above = std::upper_bound(std::begin(LEVEL_ELO), std::end(LEVEL_ELO), elo);
  if (above == std::end(LEVEL_ELO)) return FULL_STRENGTH_LEVEL;
  const int level = static_cast<int>(above - std::begin(LEVEL_ELO)) - 1;
  return level + static_cast<double>(elo - LEVEL_ELO[level]) / (*above - LEVEL_ELO[level]);
}

double ChosenLevel(Engine& engine) { return engine.LimitStrength ? LevelOfElo(engine.LimitElo) : engine.SkillLevel; }

bool PlaysAtFullStrength(Engine& engine) { return ChosenLevel(engine) >= FULL_STRENGTH_LEVEL; }

void PrepareLevel(Engine& engine, bool playing) {
  Position& pos = engine.game;
  engine.LastSearchSettings = playing ? SettingsOfLevel(ChosenLevel(engine)) : SettingsOfLevel(FULL_STRENGTH_LEVEL);
  const LevelSettings& settings = engine.LastSearchSettings;
  if (settings.nodes > 0) {
    const u64 budget = NodeBudgetOfMove(settings, PositionSeed(pos));
    engine.limits.NodeLimit = engine.limits.NodeLimit > 0 ? std::min(engine.limits.NodeLimit, budget) : budget;
  }
  engine.limits.ChoiceLines = settings.maxLoss > 0 ? LINES_TO_CHOOSE_FROM : 0;
  engine.limits.EvalNoiseAmplitude = settings.evalNoise;
}

void LeaveLevel(Engine& engine) {
  engine.limits.ChoiceLines = 0;
  engine.limits.EvalNoiseAmplitude = 0;
}

Move LevelMove(Engine& engine) {
  Position& pos = engine.game;
  if (engine.LastSearchSettings.maxLoss == 0 || engine.searcher->LastIterationLineCount == 0 || engine.searcher->LastIterationLines[0].move != engine.searcher->BestMove) {
    return engine.searcher->BestMove;
  }
  return ChooseAmongLines(engine.searcher->LastIterationLines, engine.searcher->LastIterationLineCount, engine.LastSearchSettings, PositionSeed(pos));
}
