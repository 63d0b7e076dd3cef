// Strength levels: what each level changes, the choice among the best lines, ratings to levels, and searches at a
// level (in process and over pipes).
#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "engine/engine_setup.h"
#include "engine/new_position.h"
#include "engine/search_settings.h"
#include "engine/strength_level.h"
#include "engine/time_control.h"
#include "search/eval_noise.h"
#include "search/search_state.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "support/engine_process.h"
#include "support/line_words.h"
#include "support/move_probe.h"

namespace {

// Four lines, best first, 0, 10, 30 and 200 centipawns below the best.
const MoveEntry LINES[] = {{50, 1}, {40, 2}, {20, 3}, {-150, 4}};

// How often each line's move is chosen over seeds 0 to draws - 1.
std::map<Move, int> Choices(const LevelSettings& settings, int draws) {
  std::map<Move, int> chosen;
  for (int seed = 0; seed < draws; ++seed) ++chosen[ChooseAmongLines(LINES, 4, settings, static_cast<u64>(seed))];
  return chosen;
}

// The node budget of a move is the level's times a factor up to the square root of 2.
u64 MostNodesOfAMove(const LevelSettings& settings) { return static_cast<u64>(settings.nodes * std::sqrt(2.0)) + 1; }

}  // namespace

// Lower levels search fewer nodes, may lose more with their choice, and only the lowest see with noise; full strength
// changes nothing.
TEST(StrengthLevel, EachLevelBelowTheTopGivesUpMore) {
  const LevelSettings full = SettingsOfLevel(FULL_STRENGTH_LEVEL);
  EXPECT_EQ(std::tuple(full.nodes, full.maxLoss, full.evalNoise), std::tuple(0u, 0, 0));
  LevelSettings above = SettingsOfLevel(FULL_STRENGTH_LEVEL - 1);
  EXPECT_GT(above.nodes, 0u);
  EXPECT_EQ(above.evalNoise, 0);
  for (int level = FULL_STRENGTH_LEVEL - 2; level >= 0; --level) {
    const LevelSettings settings = SettingsOfLevel(level);
    EXPECT_LT(settings.nodes, above.nodes) << level;
    EXPECT_GT(settings.maxLoss, above.maxLoss) << level;
    EXPECT_GE(settings.evalNoise, above.evalNoise) << level;
    above = settings;
  }
  EXPECT_GT(SettingsOfLevel(0).evalNoise, 0);
  // A level between two whole ones lies between them.
  const LevelSettings between = SettingsOfLevel(7.5);
  EXPECT_TRUE(between.nodes > SettingsOfLevel(7).nodes && between.nodes < SettingsOfLevel(8).nodes);
}

// The budget of a move spreads from 1/sqrt(2) to sqrt(2) times the level's, both ways about as often, the same again
// for the same seed.
TEST(StrengthLevel, TheNodeBudgetOfAMoveSpreadsAroundTheLevels) {
  const LevelSettings settings = SettingsOfLevel(14);
  int below = 0, above = 0;
  for (u64 seed = 0; seed < 2000; ++seed) {
    const u64 budget = NodeBudgetOfMove(settings, seed);
    EXPECT_GE(budget, static_cast<u64>(settings.nodes / std::sqrt(2.0))) << seed;
    EXPECT_LE(budget, MostNodesOfAMove(settings)) << seed;
    EXPECT_EQ(budget, NodeBudgetOfMove(settings, seed));
    (budget < settings.nodes ? below : above)++;
  }
  EXPECT_NEAR(below, above, 200);
}

// The choice: never a line further below the best than allowed, the closer lines more often, the same seed the same
// move, and the best line alone when no loss is allowed.
TEST(StrengthLevel, TheChoiceStaysWithinItsLossAndFollowsItsSeed) {
  constexpr int DRAWS = 4000;
  const struct { i16 maxLoss, temperature; std::vector<Move> possible; } cases[] = {
      {0, 1, {1}},
      {10, 5, {1, 2}},
      {30, 100, {1, 2, 3}},
      {240, 100, {1, 2, 3, 4}},  // 200 below: chosen, but seldom
      {240, 1000, {1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maxLoss);
    const LevelSettings settings{0, c.maxLoss, c.temperature, 0};
    const std::map<Move, int> chosen = Choices(settings, DRAWS);
    for (const auto& [move, times] : chosen) EXPECT_EQ(std::count(c.possible.begin(), c.possible.end(), move), 1) << move;
    for (Move move : c.possible) {
      if (move < 4) {
        EXPECT_GT(chosen.count(move) ? chosen.at(move) : 0, 0) << move;
      }
    }
    for (size_t k = 1; k < c.possible.size(); ++k) {
      EXPECT_GE(chosen.at(c.possible[k - 1]), chosen.at(c.possible[k])) << "a worse line is chosen less often";
    }
  }
  // With the best two lines 10 apart and a temperature of 10, the first is chosen e times as often as the second.
  const std::map<Move, int> twoLines = Choices({0, 10, 10, 0}, DRAWS);
  EXPECT_NEAR(static_cast<double>(twoLines.at(1)) / twoLines.at(2), std::exp(1.0), 0.3);
  for (u64 seed : {0ull, 1ull, 0xfedcba9876543210ull}) {
    const LevelSettings settings{0, 240, 1000, 0};
    EXPECT_EQ(ChooseAmongLines(LINES, 4, settings, seed), ChooseAmongLines(LINES, 4, settings, seed));
  }
  EXPECT_EQ(ChooseAmongLines(LINES, 0, {0, 240, 1000, 0}, 1), NO_MOVE);
}

// A rating gives the level measured for it, a rating between two levels' a level between them; ratings outside the
// measured range give the weakest level and full strength.
TEST(StrengthLevel, RatingsGiveLevels) {
  EXPECT_EQ(LevelOfElo(MIN_LIMIT_ELO), 0);
  EXPECT_EQ(LevelOfElo(MIN_LIMIT_ELO - 500), 0);
  EXPECT_EQ(LevelOfElo(MAX_LIMIT_ELO), FULL_STRENGTH_LEVEL);
  double below = -1;
  for (int elo = MIN_LIMIT_ELO; elo <= MAX_LIMIT_ELO; elo += 10) {
    const double level = LevelOfElo(elo);
    EXPECT_GT(level, below) << elo;
    below = level;
  }
  Engine engine;
  std::tie(engine.SkillLevel, engine.LimitStrength, engine.LimitElo) = std::tuple(7, false, MIN_LIMIT_ELO);
  EXPECT_EQ(ChosenLevel(engine), 7);  // without the limit, the skill level rules
  engine.LimitStrength = true;
  EXPECT_EQ(ChosenLevel(engine), 0);
}

class LevelSearchTest : public testing::Test {
 protected:
  Engine engine;
  Position& pos = engine.game;  // the position under test
  static void SetUpTestSuite() { InitBoardTables(); }
  void SetUp() override {
    std::tie(engine.limits.PrintThinking, engine.limits.InputStopsSearch) = std::tuple(false, false);
    AllocateNoTime(engine);
  }
  void TearDown() override { saved_.Restore(); }
  const SearchSettings saved_{engine};
  // A search of the position from a fresh table to depth (a node limit of limit), for the move to play or not;
  // the move played and the nodes searched.
  std::pair<Move, u64> Search(Position& pos, const char* fen, u32 depth, bool playing, u64 limit = 0) {
    EXPECT_TRUE(LoadPosition(engine, fen));
    engine.limits.NodeLimit = limit;
    StartEngine(engine, false, static_cast<u8>(depth), SearchMode::OwnMove, playing);
    engine.limits.NodeLimit = 0;
    return {PlayableBestMove(engine), pos.MovesMade};
  }
};

constexpr const char* MIDDLEGAME = "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ - 0 1";

// Full strength plays as if there were no levels; a level keeps its node budget when playing, and has none in
// analysis; its noise is gone once the search ends.
TEST_F(LevelSearchTest, ALevelLimitsOnlyTheMovesItPlays) {
  const auto unlimited = Search(pos, MIDDLEGAME, 7, false);
  EXPECT_EQ(Search(pos, MIDDLEGAME, 7, true), unlimited);

  engine.SkillLevel = 12;
  const u64 budget = MostNodesOfAMove(SettingsOfLevel(12));
  // The search looks at its count between nodes of the main search: the quiescence search under way runs on.
  const auto overshoot = [](u64 limit) { return limit + limit / 50; };
  EXPECT_LE(Search(pos, MIDDLEGAME, 30, true).second, overshoot(budget));
  EXPECT_LE(Search(pos, MIDDLEGAME, 30, true, budget / 2).second, overshoot(budget / 2)) << "the smaller limit rules";
  EXPECT_EQ(Search(pos, MIDDLEGAME, 7, false), unlimited) << "an analysis at a level is made at full strength";

  engine.SkillLevel = 0;
  Search(pos, MIDDLEGAME, 30, true);
  EXPECT_EQ(std::tuple(engine.limits.EvalNoiseAmplitude, engine.limits.ChoiceLines), std::tuple(0, 0u));
  engine.SkillLevel = FULL_STRENGTH_LEVEL;
  EXPECT_EQ(Search(pos, MIDDLEGAME, 7, false), unlimited);
}

// Each level's move is legal, among the last iteration's best lines, and the same again for the same position.
TEST_F(LevelSearchTest, ALevelPlaysOneOfItsBestLinesAgainAndAgain) {
  for (int level : {0, 3, 8, 15}) {
    engine.SkillLevel = level;
    const auto [move, nodes] = Search(pos, MIDDLEGAME, 30, true);
    EXPECT_EQ(std::ranges::count(LegalMoves(pos), move), 1) << level;
    ASSERT_GT(engine.searcher->LastIterationLineCount, 1u) << level;
    EXPECT_EQ(std::count_if(engine.searcher->LastIterationLines, engine.searcher->LastIterationLines + engine.searcher->LastIterationLineCount,
                            [&](const MoveEntry& line) {
                              return line.move == move && engine.searcher->LastIterationLines[0].score - line.score <=
                                                              SettingsOfLevel(level).maxLoss;
                            }),
              1)
        << level;
    EXPECT_EQ(Search(pos, MIDDLEGAME, 30, true).first, move) << level;
  }
}

// The node counts of the info lines (UCI) or thinking lines (xboard) of output.
std::vector<u64> NodeCounts(const std::vector<std::string>& output) {
  std::vector<u64> counts;
  for (const std::string& line : output) {
    const std::vector<std::string> read = Words(line);
    if (const std::string nodes = ValueAfter(read, "nodes"); !nodes.empty()) counts.push_back(std::stoull(nodes));
    if (line.starts_with("    ") && read.size() > 3) counts.push_back(std::stoull(read[3]));
  }
  return counts;
}

constexpr int PIPE_LEVEL = 10;

// Over pipes: UCI and xboard take the options, a level's node budget holds, and two engines at the same level answer
// the same positions with the same moves.
TEST(StrengthLevelPipes, LevelsAreTakenAndReproducible) {
  const std::string positions[] = {"position startpos moves e2e4 e7e5 g1f3\n",
                                   std::string("position fen ") + MIDDLEGAME + "\n"};
  const u64 budget = MostNodesOfAMove(SettingsOfLevel(PIPE_LEVEL));
  std::string answers[2];
  for (std::string& answer : answers) {
    EngineProcess engine;
    engine.Send("uci\nsetoption name OwnBook value false\nsetoption name Skill Level value 21\n"
                "setoption name Skill Level value " + std::to_string(PIPE_LEVEL) + "\n");
    for (const std::string& position : positions) {
      engine.Send(position + "go wtime 60000 btime 60000\n");
      auto lines = engine.ReadUntil("bestmove ");
      ASSERT_TRUE(lines);
      for (u64 nodes : NodeCounts(*lines)) EXPECT_LE(nodes, budget + budget / 50);
      answer += lines->back() + "\n";
      if (answer.size() == lines->back().size() + 1) {
        EXPECT_EQ(std::count(lines->begin(), lines->end(), "info string option Skill Level: value not taken: 21"), 1);
      }
    }
  }
  EXPECT_EQ(answers[0], answers[1]);

  // A search on the opponent's time is made at the level too: "ponderhit" answers with the level's move.
  {
    EngineProcess engine;
    engine.Send("uci\nsetoption name OwnBook value false\nsetoption name Skill Level value " +
                std::to_string(PIPE_LEVEL) + "\nposition startpos moves e2e4\ngo ponder wtime 60000 btime 60000\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    engine.Send("ponderhit\n");
    auto lines = engine.ReadUntil("bestmove ");
    ASSERT_TRUE(lines);
    EXPECT_FALSE(NodeCounts(*lines).empty());
    for (u64 nodes : NodeCounts(*lines)) EXPECT_LE(nodes, budget + budget / 50);
  }

  // xboard: the level's move comes long before its clock would end the search, and it does not ponder.
  EngineProcess engine;
  engine.Send("xboard\nprotover 2\noption OwnBook=0\noption Skill Level=" + std::to_string(PIPE_LEVEL) +
              "\nnew\nhard\npost\nlevel 0 5 0\ngo\n");
  auto lines = engine.ReadUntil("move ", std::chrono::seconds(3));
  ASSERT_TRUE(lines);
  for (u64 nodes : NodeCounts(*lines)) EXPECT_LE(nodes, budget + budget / 50);
  engine.Send("quit\n");
  engine.Wait();
  EXPECT_NE(engine.ReadLog().find("- NO ponder move"), std::string::npos);
}
