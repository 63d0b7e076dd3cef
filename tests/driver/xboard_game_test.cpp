// A game as xboard plays it with pondering on: the recorded start-up exchange,
// clock words before every move, guesses that are confirmed or not, then
// "force" and the board compared with the same moves played without guesses.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/move_text.h"
#include "board/position_text.h"
#include "driver/game_move.h"
#include "movegen/legal_moves.h"
#include "support/engine_process.h"

namespace {

constexpr int ENGINE_MOVES = 6;

// The legal moves of the game position in this process, as coordinate text.
std::vector<std::string> LegalMoves() {
  std::vector<std::string> moves;
  for (int from = 0; from < SQUARE_COUNT; ++from) {
    for (int to = 0; to < SQUARE_COUNT; ++to) {
      std::string text = {static_cast<char>('a' + FileOf(from)), static_cast<char>('8' - RowOf(from)),
                          static_cast<char>('a' + FileOf(to)), static_cast<char>('8' - RowOf(to))};
      Move move = ParseGameMove(text.c_str());
      if (move == NO_MOVE || !IsGeneratedLegalMove(move)) move = ParseGameMove((text + "q").c_str());
      if (move != NO_MOVE && IsGeneratedLegalMove(move)) moves.push_back(text);
    }
  }
  return moves;
}

// The second move of the last thinking line: the reply the engine expects.
std::string ExpectedReply(const std::vector<std::string>& lines) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (line->rfind("    ", 0) != 0) continue;
    std::istringstream fields(*line);
    std::string depth, score, time, nodes, first, second;
    fields >> depth >> score >> time >> nodes >> first >> second;
    return second;
  }
  return "";
}

// Waits until the engine, after the move it has just printed, has either
// started pondering or decided not to; true when it ponders. A reply sent
// before would be input waiting, which rightly keeps it from pondering.
bool WaitUntilPondering(const EngineProcess& engine, int turn) {
  const std::string moveLine = "\tscore: ";
  for (int attempt = 0; attempt < 2000; ++attempt) {
    std::string log = engine.ReadLog();
    size_t at = 0;
    for (int seen = 0; seen <= turn; ++seen) {
      at = log.find(moveLine, at);
      if (at == std::string::npos) break;
      ++at;
    }
    if (at != std::string::npos) {
      if (log.find("- NO ponder move", at) != std::string::npos) return false;
      if (log.find("-M: entered StartEngine", at) != std::string::npos) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(XboardGame, PonderedGameEndsOnTheBoardOfItsMoves) {
  InitBoardTables();
  ASSERT_TRUE(LoadPosition(INITIAL_POSITION));

  EngineProcess engine;
  engine.Send("xboard\nprotover 2\n");
  ASSERT_TRUE(engine.ReadUntil("feature setboard=1"));
  engine.Send("accepted done\n");
  ASSERT_EQ(engine.ReadLine(), "feature done=1");
  engine.Send(
      "accepted setboard\naccepted done\nnew\nrandom\nlevel 40 0:10 0\npost\nhard\nforce\n"
      "new\nrandom\nlevel 40 0:10 0\npost\nhard\nforce\ncomputer\nblack\ntime 1000\n"
      "otim 1000\nwhite\ngo\n");
  for (int turn = 0; turn < ENGINE_MOVES; ++turn) {
    auto lines = engine.ReadUntil("move ");
    ASSERT_TRUE(lines) << "no move at turn " << turn;
    std::string move = lines->back().substr(5);
    Move played = ParseGameMove(move.c_str());
    ASSERT_TRUE(IsGeneratedLegalMove(played)) << move;
    PlayGameMove(played);
    if (turn + 1 == ENGINE_MOVES) break;
    ASSERT_TRUE(WaitUntilPondering(engine, turn)) << "turn " << turn;

    // Alternately the reply the engine expects and another one.
    std::vector<std::string> replies = LegalMoves();
    ASSERT_FALSE(replies.empty());
    std::string expected = ExpectedReply(*lines);
    std::string reply = replies.back();
    for (const std::string& candidate : replies) {
      if ((turn % 2 == 0) == (candidate == expected)) reply = candidate;
    }
    PlayGameMove(ParseGameMove(reply.c_str()));
    engine.Send("time 1000\notim 985\n" + reply + "\n");
  }
  engine.Send("force\nd\n");
  auto shown = engine.ReadUntil("FEN: ");
  ASSERT_TRUE(shown);
  char fen[POSITION_TEXT_SIZE];
  WritePositionText(fen);
  EXPECT_EQ(shown->back(), std::string("FEN: ") + fen);
  char key[32];
  std::snprintf(key, sizeof key, "Key: %016llX", static_cast<unsigned long long>(HashKey));
  EXPECT_EQ(engine.ReadLine(), key);

  engine.Send("result 1-0 {game over}\nforce\nquit\n");
  EXPECT_EQ(engine.Wait(), 0);
  std::string log = engine.ReadLog();
  EXPECT_EQ(Count(log, "-GOOD PONDER\n") + Count(log, "-BAD PONDER\n"), ENGINE_MOVES - 1) << log;
  EXPECT_EQ(engine.StandardError(), "");
  RecordProperty("goodPonders", Count(log, "-GOOD PONDER\n"));
}

}  // namespace
