// Helpers of the search tests: a plain mate finder, lines of moves by name, a fixture that searches without a clock.
#pragma once

#include <algorithm>
#include <deque>

#include "board/position.h"
#include "driver/thinking_line.h"
#include "engine/time_control.h"
#include "platform/clock.h"
#include "platform/console_input.h"
#include "search/score.h"
#include "search/search_kind.h"
#include "search/search_stack.h"
#include "search/search_state.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "search/trans_table.h"
#include "support/command_feed.h"
#include "support/move_probe.h"
#include "support/position_snapshot.h"

constexpr i64 UNLIMITED_MS = i64{1} << 40;

// The side to move mates within this many of its moves whatever the defence (by playing first, when given, the move
// first).
inline bool ForcesMateWithin(Position& pos, int moves, Move first = NO_MOVE) {
  for (Move candidate : first ? std::vector<Move>{first} : LegalMoves(pos)) {
    bool forced = false;
    WithMoveMade(pos, candidate, [&] {
      const std::vector<Move> replies = IsCheckmate(pos) || moves == 1 ? std::vector<Move>{} : LegalMoves(pos);
      forced = IsCheckmate(pos) || !replies.empty();
      for (size_t i = 0; forced && i < replies.size(); ++i) {
        WithMoveMade(pos, replies[i], [&] { forced = ForcesMateWithin(pos, moves - 1); });
      }
    });
    if (forced) return true;
  }
  return false;
}

inline bool IsLegalMove(Position& pos, Move move) { return std::ranges::count(LegalMoves(pos), move) == 1; }

// Gives the table its default size back when the test ends, however it ends.
struct DefaultTableAfter {
  ~DefaultTableAfter() { ResizeTransTable(DEFAULT_HASH_MB); }
};

// Moves played by name, each only if legal where it is played; taken back when the line goes.
class Line {
 public:
  explicit Line(Position& pos) : pos_(pos) {}
  Line(const Line&) = delete;
  ~Line() { TakeBack(played_.size()); }
  // Plays the words of text up to the first that is no legal move; returns it (empty when all were).
  std::string PlayLegal(const std::string& text) {
    std::istringstream words(text);
    for (std::string word; words >> word;) {
      if (LegalMoveNamed(pos_, word) == NO_MOVE) return word;
      played_.emplace_back(LegalMoveNamed(pos_, word), UndoRecord{});
      SavePositionForUndo(pos_, played_.back().second);
      MakeMove(pos_, played_.back().first, played_.back().second);
    }
    return "";
  }
  void Play(const std::string& text) { EXPECT_EQ(PlayLegal(text), "") << text; }
  void TakeBack(size_t moves = 1) {
    for (; moves > 0; --moves, played_.pop_back()) UnmakeMove(pos_, played_.back().first, played_.back().second);
  }
  size_t Length() const { return played_.size(); }

 private:
  Position& pos_;
  std::deque<std::pair<Move, UndoRecord>> played_;
};

// Searches without a clock or thinking lines (the driver's, when a test asks for them); the input is a pipe of the
// test's own, empty until the test writes to it.
class SearchTest : public testing::Test {
 protected:
  Engine engine;
  Position& pos = engine.game;      // the position under test
  Searcher& s = *engine.searcher;   // the searcher that reports, which Think runs on
  SearchLimits& limits = engine.limits;
  void SetUp() override {
    std::tie(limits.MovesToGo, limits.TimeBudgetMs, limits.PrintThinking) = std::tuple(DEFAULT_MOVES_TO_GO, UNLIMITED_MS, false);
    ReportIterationTo = PrintThinkingLine;
  }
  // Loads the game's position as the engine does: what the search learnt is forgotten.
  void Load(Position& position, const std::string& text) {
    if (&position == &pos) return ::Load(engine, text);
    ::Load(position, text);
  }
  void ExpectMatesFound(Position& pos);
  // Thinks on the loaded position, at most depth iterations deep, as if begun that long ago.
  Move SearchTo(Position& pos, u32 depth, i64 begunMsAgo = 0) {
    std::tie(limits.MaxSearchDepth, limits.SearchStartClock, pos.UndoTop) =
        std::tuple(depth, ClockMs() - begunMsAgo, pos.UndoRecords);
    StopSearch = false;
    return Think(s, pos);
  }
  std::string SearchPrinting(Position& pos, u32 depth, i64 begunMsAgo = 0) {
    limits.PrintThinking = true;
    testing::internal::CaptureStdout();
    SearchTo(pos, depth, begunMsAgo);
    return testing::internal::GetCapturedStdout();
  }
  InputPipe input_;
};
