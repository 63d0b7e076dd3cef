#include "driver/xboard_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "board/move_text.h"
#include "book/opening_book.h"
#include "driver/analysis.h"
#include "driver/board_commands.h"
#include "driver/command_loop.h"
#include "driver/pondering.h"
#include "driver/xboard.h"
#include "engine/book_file.h"
#include "engine/engine_setup.h"
#include "engine/game.h"
#include "engine/strength_level.h"
#include "engine/time_control.h"
#include "movegen/move_stack.h"
#include "platform/clock.h"
#include "platform/console_input.h"
#include "platform/engine_log.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/search_root.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "search/trans_table.h"

namespace {

// An hour a move is as long as any game asks for.
constexpr double MAX_MOVE_SECONDS = 3600.0 * 24;
// The pawn cache (4 MB) and the engine's other tables, rounded up.
constexpr i32 OTHER_TABLES_MB = 7;

// The rest of the line after a command word, logged.
std::string ReadArguments() {
  std::string arguments;
  ReadWholeLine(arguments);
  EngineLog << "-M: arguments:" << arguments << EndLine;
  return arguments;
}

void TakeBack(Engine& engine, int plies, const char* word) {
  if (!TakeBackMoves(engine, plies)) {
    std::printf("Error (no move to take back): %s\n", word);
    return;
  }
  if (engine.State == ENGINE_ANALYZING) engine.AnalysisPending = true;
}

// "NAME=VALUE" of an option line, blanks around both trimmed.
bool SplitOption(const std::string& text, std::string& name, std::string& value) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  auto trim = [](std::string s) {
    const size_t first = s.find_first_not_of(" \t"), last = s.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  };
  name = trim(text.substr(0, equals));
  value = trim(text.substr(equals + 1));
  return true;
}

}  // namespace

void PingCommand(Engine&, const char*) {
  std::string number = ReadArguments();
  const size_t first = number.find_first_not_of(" \t");
  number = first == std::string::npos ? "" : number.substr(first);
  std::printf("pong %s\n", number.c_str());
}

void HintCommand(Engine& engine, const char*) {
  const Move hint = HintMove(engine);
  if (hint != NO_MOVE) std::printf("Hint: %s\n", MoveText(hint).c_str());
}

void BookMovesCommand(Engine& engine, const char*) {
  const bool boardBusy = engine.SearchRunning || engine.State == ENGINE_PONDERING;
  std::printf("%s", boardBusy ? engine.BookMovesBeforeSearch.c_str() : BookMovesText(engine).c_str());
}

void MoveNowCommand(Engine&, const char*) {}

void UndoCommand(Engine& engine, const char* word) { TakeBack(engine, 1, word); }
void RemoveCommand(Engine& engine, const char* word) { TakeBack(engine, 2, word); }

void AnalyzeCommand(Engine& engine, const char*) {
  engine.State = ENGINE_ANALYZING;
  engine.AnalysisPending = true;
}

void ExitCommand(Engine& engine, const char*) {
  if (engine.State != ENGINE_ANALYZING) return;
  engine.State = ENGINE_FORCE;
  engine.AnalysisPending = false;
}

void StatusCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  if (engine.State != ENGINE_ANALYZING) return;  // between two searches: the last one's figures
  const RootProgress progress = engine.searcher->CurrentRootProgress;
  const std::string move = progress.move != NO_MOVE ? MoveText(progress.move) : "";
  std::printf("stat01: %lld %u %u %u %u %s\n",
              static_cast<long long>((ClockMs() - engine.limits.SearchStartClock) / MS_PER_CENTISECOND), pos.MovesMade,
              engine.searcher->IterationDepth, progress.total - std::min(progress.tried, progress.total), progress.total, move.c_str());
}

void MoveTimeCommand(Engine& engine, const char*) {
  const std::string arguments = ReadArguments();
  char* end = nullptr;
  const double seconds = std::strtod(arguments.c_str(), &end);
  if (end == arguments.c_str() || !(seconds >= 0)) return;
  engine.FixedMoveMs = static_cast<i64>(std::min(seconds, MAX_MOVE_SECONDS) * MS_PER_SECOND);
}

void DepthCommand(Engine& engine, const char*) {
  i32 depth;
  if (!ReadNumber(depth)) return;
  engine.DepthLimit = depth <= 0 ? 0 : std::clamp(static_cast<u32>(depth), SHALLOWEST_DEPTH_LIMIT, DEEPEST_ITERATION);
}

void PostCommand(Engine& engine, const char*) { engine.limits.PrintThinking = true; }
void NoPostCommand(Engine& engine, const char*) { engine.limits.PrintThinking = false; }

void PlayOtherCommand(Engine& engine, const char*) {
  if (engine.State == ENGINE_ANALYZING) engine.AnalysisPending = false;
  engine.State = ENGINE_PLAYING;
  if (engine.PonderEnabled) PonderIfExpected(engine);
}

// The move is the first word of the rest of the line; none there is an
// error of this command alone, and the next line is a command of its own.
void UserMoveCommand(Engine& engine, const char* word) {
  std::istringstream rest(ReadArguments());
  std::string move;
  if (!(rest >> move)) {
    std::printf("Error (no move given): %s\n", word);
  } else if (move.size() < COMMAND_BUFFER_SIZE && AcceptsGameMove(engine, move.c_str())) {
    GameMoveCommand(engine, move.c_str());
  } else {
    std::printf("Illegal move: %s\n", move.c_str());
  }
}

void MemoryCommand(Engine&, const char*) {
  i32 megabytes;
  if (!ReadNumber(megabytes)) return;
  // The memory asked for is the engine's whole: the pawn cache and the other tables come first.
  const i32 forTable = std::clamp(megabytes - OTHER_TABLES_MB, static_cast<i32>(MIN_HASH_MB), static_cast<i32>(MAX_HASH_MB));
  const bool resized = ResizeTransTable(static_cast<u32>(forTable));
  EngineLog << "-M: memory " << megabytes << " MB: table of " << forTable << " MB " << (resized ? "set" : "refused")
            << EndLine;
}

void OptionCommand(Engine& engine, const char*) {
  std::string name, value;
  if (!SplitOption(ReadArguments(), name, value)) return;
  if (name == "OwnBook") engine.UseOwnBook = std::atoi(value.c_str()) != 0;
  if (name == "Search" && (value == "Classic" || value == "Modern")) {
    engine.limits.CurrentSearchKind = value == "Modern" ? SearchKind::Modern : SearchKind::Classic;
  }
  const long number = std::atol(value.c_str());
  if (name == "MultiPV") ChooseMultiPvLines(engine.limits, number);
  if (name == "Skill Level") ChooseSkillLevel(engine, number);
  if (name == "UCI_LimitStrength") engine.LimitStrength = number != 0;
  if (name == "UCI_Elo") ChooseLimitElo(engine, number);
  if (name == "BookFolder" && !OpenBookFrom(engine, value)) {
    EngineLog << "BOOK ERROR: " << EngineBook.Message().Text();
  }
  if (name == "BookFile" && !OpenBookFile(engine, value)) std::printf("tellusererror BookFile: %s\n", BookFileMessage(engine));
}

// "nps N": the clock counts N nodes a second instead of the wall clock's
// time; 0 goes back to the wall clock.
void NodeRateCommand(Engine& engine, const char*) {
  i32 rate;
  if (!ReadNumber(rate)) return;
  engine.NodesPerSecond = rate > 0 ? rate : 0;
}

// "cores N": the threads that search together; a count out of range leaves them as they are.
void CoresCommand(Engine& engine, const char*) {
  i32 cores;
  if (ReadNumber(cores)) ChooseSearchThreads(engine.limits, cores);
}

void OpponentTimeCommand(Engine&, const char*) {
  i32 clock;
  ReadNumber(clock);
}

void IgnoredWithArguments(Engine&, const char*) { ReadArguments(); }
