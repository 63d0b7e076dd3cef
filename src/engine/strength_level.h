// Strength levels for people who play against the engine: from 0, the
// weakest, to FULL_STRENGTH_LEVEL, the engine as it is. A level plays with a
// node budget for each move, chooses at random among its best few lines with
// a loss that grows as the level falls but stays bounded, and at the lowest
// levels sees the positions with some noise. The choice is drawn from the
// position and a seed: the same seed and position give the same move.
#pragma once

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"
#include "engine/level_settings.h"
#include "movegen/move_stack.h"

// The settings of a level, which may lie between two whole levels.
LevelSettings SettingsOfLevel(double level);

// The node budget of one move: settings.nodes times a factor from 1/sqrt(2)
// to sqrt(2) drawn from seed, so that a level's searches end at different
// depths in different positions, and the strength grows smoothly with the
// level rather than by whole plies.
u64 NodeBudgetOfMove(const LevelSettings& settings, u64 seed);

// The move chosen among lines (best first, count of them) for settings; seed
// draws it. With no loss allowed, the best line's move.
Move ChooseAmongLines(const MoveEntry* lines, u32 count, const LevelSettings& settings, u64 seed);

// The options set from the numbers an interface sent: false, and nothing
// changed, for a number outside the option's range.
bool ChooseSkillLevel(Engine& engine, long level);
bool ChooseLimitElo(Engine& engine, long elo);

// The level of a rating, between the measured ratings of the levels.
double LevelOfElo(int elo);

// The level the options ask for.
double ChosenLevel(Engine& engine);
bool PlaysAtFullStrength(Engine& engine);

// Before a search for the engine's own move (playing) or any other (analysis,
// a measurement): the level's node budget (the smaller of it and a node limit
// already set), its lines to choose among and its noise; nothing of them when
// not playing or at full strength.
void PrepareLevel(Engine& engine, bool playing);

// After the search: the search sees the positions as they are again, and
// looks for the lines it shows only.
void LeaveLevel(Engine& engine);

// After a search prepared for playing, the move to play: BestMove, or at a
// level below full strength the move chosen among the last iteration's lines.
// The seed is the position's key.
Move LevelMove(Engine& engine);
