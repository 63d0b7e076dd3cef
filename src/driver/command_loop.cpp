#include "driver/command_loop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "board/position.h"
#include "driver/analysis.h"
#include "driver/bench_commands.h"
#include "driver/board_commands.h"
#include "driver/book_commands.h"
#include "driver/conversion_commands.h"
#include "driver/eval_commands.h"
#include "driver/game_commands.h"
#include "driver/makebook_command.h"
#include "driver/perft_commands.h"
#include "driver/pondering.h"
#include "driver/search_input.h"
#include "driver/xboard.h"
#include "driver/xboard_commands.h"
#include "engine/time_control.h"
#include "platform/clock.h"
#include "platform/console_input.h"
#include "platform/engine_log.h"

namespace {

char CommandBuffer[COMMAND_BUFFER_SIZE];

// "time N otim M": the own clock in centiseconds sets the budget; the
// opponent's clock is read and not used. A missing number changes nothing and
// leaves the next word to be read as a command.
void TimeCommand(Engine& engine, const char*) {
  i32 ownClock;
  if (!ReadNumber(ownClock)) return;
  char word[COMMAND_BUFFER_SIZE];
  WordStatus status = ReadWord(word, sizeof word);
  if (status == WordStatus::Read && std::strncmp(word, "otim", 4) == 0) {
    i32 opponentClock;
    ReadNumber(opponentClock);
  } else if (status != WordStatus::EndOfInput) {
    UnreadWord(word, status);
  }
  AllocateTime(engine, ownClock);
  engine.ClockKnown = true;
}

bool LooksLikeBaseTime(const char* word) {
  if (*word == '\0') return false;
  for (const char* c = word; *c; ++c) {
    if ((*c < '0' || *c > '9') && *c != ':' && *c != '.') return false;
  }
  return true;
}

constexpr i64 MS_PER_MINUTE = 60 * MS_PER_SECOND;
// The longest increment whose milliseconds still fit the clock's integer.
constexpr i32 MAX_INCREMENT_SECONDS = static_cast<i32>(std::numeric_limits<i32>::max() / MS_PER_SECOND);
// A control longer than a year is no control worth a share.
constexpr double MAX_BASE_MINUTES = 525600;

// A base time as "MINUTES" or "MINUTES:SECONDS"; 0 when it reads as no time.
i64 BaseTimeMs(const char* word) {
  const double minutes = std::clamp(std::strtod(word, nullptr), 0.0, MAX_BASE_MINUTES);
  const char* colon = std::strchr(word, ':');
  const double seconds = colon ? std::clamp(std::strtod(colon + 1, nullptr), 0.0, 59.0) : 0.0;
  return static_cast<i64>(minutes * MS_PER_MINUTE + seconds * MS_PER_SECOND);
}

// "level MPS BASE INC": moves per control, the control's time and the
// increment in seconds. A level replaces a fixed time per move.
void LevelCommand(Engine& engine, const char*) {
  i32 moves;
  if (!ReadNumber(moves)) return;
  char base[COMMAND_BUFFER_SIZE];
  WordStatus status = ReadWord(base, sizeof base);
  const bool baseRead = status == WordStatus::Read && LooksLikeBaseTime(base);
  if (status == WordStatus::TooLong || (status == WordStatus::Read && !baseRead)) UnreadWord(base, status);
  i32 increment = 0;
  ReadNumber(increment);
  engine.MovesPerControl = moves > 0 ? moves : 0;
  engine.IncrementMs = increment >= 1 ? static_cast<i32>(std::min(increment, MAX_INCREMENT_SECONDS) * MS_PER_SECOND) : 0;
  engine.ControlBaseMs = baseRead ? BaseTimeMs(base) : 0;
  engine.FixedMoveMs = 0;
  engine.ClockKnown = false;  // the control's own time is the clock until "time" comes
}

void EasyCommand(Engine& engine, const char*) { engine.PonderEnabled = false; }
void HardCommand(Engine& engine, const char*) { engine.PonderEnabled = true; }
void QuitCommand(Engine& engine, const char*) { engine.State = ENGINE_QUIT; }

void WhiteCommand(Engine& engine, const char*) { SetSideToMove(engine, WHITE); }
void BlackCommand(Engine& engine, const char*) { SetSideToMove(engine, BLACK); }

void BenchmarkCommand(Engine&, const char*) {
  char unused[COMMAND_BUFFER_SIZE];
  ReadWord(unused, sizeof unused);
  std::printf("Define __STAT\n");
}

using enum DuringSearch;
constexpr bool PONDER_WORD = true;  // part of pondering: the guess stays on the board
constexpr bool OTHER_WORD = false;

// Tried top to bottom; the first row that matches acts. A prefix row matches
// every word that begins with its letters ("timeX", "newgame"). The rows of
// the protocol's later words come after the first ones, our own words last.
const CommandRow CommandTable[] = {
    {"time", Match::Prefix, TimeCommand, Stops, PONDER_WORD},
    {"", Match::GameMove, GameMoveCommand, Stops, PONDER_WORD},
    {"go", Match::Prefix, GoCommand, Stops, OTHER_WORD},
    {"new", Match::Prefix, NewCommand, StopsWithoutMove, OTHER_WORD},
    {"result", Match::Prefix, ResultCommand, StopsWithoutMove, OTHER_WORD},
    {"level", Match::Prefix, LevelCommand, Stops, OTHER_WORD},
    {"force", Match::Prefix, ForceCommand, StopsWithoutMove, OTHER_WORD},
    {"setboard", Match::Prefix, SetboardCommand, StopsWithoutMove, OTHER_WORD},
    {"easy", Match::Exact, EasyCommand, Stops, OTHER_WORD},
    {"hard", Match::Exact, HardCommand, Answered, PONDER_WORD},
    {"quit", Match::Prefix, QuitCommand, StopsWithoutMove, OTHER_WORD},
    {"white", Match::Prefix, WhiteCommand, Stops, OTHER_WORD},
    {"black", Match::Prefix, BlackCommand, Stops, OTHER_WORD},
    {"pgn2pos", Match::Exact, PgnToPosCommand, Stops, OTHER_WORD},
    {"pgn2game", Match::Exact, PgnToGameCommand, Stops, OTHER_WORD},
    {"pgnlist2game", Match::Exact, PgnListToGameCommand, Stops, OTHER_WORD},
    {"game2pgn", Match::Exact, GameToPgnCommand, Stops, OTHER_WORD},
    {"game2pos", Match::Exact, GameToPosCommand, Stops, OTHER_WORD},
    {"bookshow", Match::Exact, BookShowCommand, Stops, OTHER_WORD},
    {"dbshow", Match::Exact, DatabaseShowCommand, Stops, OTHER_WORD},
    {"dbshowlin", Match::Exact, DatabaseShowCommand, Stops, OTHER_WORD},
    {"bookcreate", Match::Exact, BookCreateCommand, Stops, OTHER_WORD},
    {"dbcreate", Match::Exact, DatabaseCreateCommand, Stops, OTHER_WORD},
    {"makebook", Match::Exact, MakeBookCommand, Stops, OTHER_WORD},
    {"benchmark", Match::Exact, BenchmarkCommand, Stops, OTHER_WORD},
    {"perft", Match::Exact, PerftCommand, Stops, OTHER_WORD},
    {"test", Match::Exact, TestCommand, Stops, OTHER_WORD},
    {"ping", Match::Exact, PingCommand, AnsweredAfterMove, PONDER_WORD},
    {"hint", Match::Exact, HintCommand, AnsweredAfterMove, PONDER_WORD},
    {"bk", Match::Exact, BookMovesCommand, AnsweredAfterMove, PONDER_WORD},
    {"?", Match::Exact, MoveNowCommand, Stops, PONDER_WORD},
    {"undo", Match::Exact, UndoCommand, StopsWithoutMove, OTHER_WORD},
    {"remove", Match::Exact, RemoveCommand, StopsWithoutMove, OTHER_WORD},
    {"analyze", Match::Exact, AnalyzeCommand, Stops, OTHER_WORD},
    {"exit", Match::Exact, ExitCommand, StopsWithoutMove, OTHER_WORD},
    {".", Match::Exact, StatusCommand, Answered, PONDER_WORD},
    {"st", Match::Exact, MoveTimeCommand, Stops, OTHER_WORD},
    {"sd", Match::Exact, DepthCommand, Stops, OTHER_WORD},
    {"post", Match::Exact, PostCommand, Answered, PONDER_WORD},
    {"nopost", Match::Exact, NoPostCommand, Answered, PONDER_WORD},
    {"playother", Match::Exact, PlayOtherCommand, Stops, OTHER_WORD},
    {"usermove", Match::Exact, UserMoveCommand, Stops, PONDER_WORD},
    {"memory", Match::Exact, MemoryCommand, Stops, OTHER_WORD},
    {"option", Match::Exact, OptionCommand, Stops, OTHER_WORD},
    {"otim", Match::Exact, OpponentTimeCommand, Answered, PONDER_WORD},
    {"name", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"rating", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"computer", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"accepted", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"rejected", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"protover", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"xboard", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"draw", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"random", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"ics", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"variant", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"nps", Match::Exact, NodeRateCommand, Answered, PONDER_WORD},
    {"cores", Match::Exact, CoresCommand, Stops, OTHER_WORD},
    {"egtpath", Match::Exact, IgnoredWithArguments, Answered, PONDER_WORD},
    {"d", Match::Exact, ShowBoardCommand, Stops, OTHER_WORD},
    {"eval", Match::Exact, EvalCommand, Stops, OTHER_WORD},
    {"divide", Match::Exact, DivideCommand, Stops, OTHER_WORD},
    {"bench", Match::Exact, BenchCommand, Stops, OTHER_WORD},
};

bool RowMatches(Engine& engine, const CommandRow& row, const char* word) {
  if (row.match == Match::GameMove) return AcceptsGameMove(engine, word);
  if (row.match == Match::Exact) return std::strcmp(word, row.word) == 0;
  return std::strncmp(word, row.word, std::strlen(row.word)) == 0;
}

// Every command but those of pondering itself takes a guess on the board back
// first, as "force" does, so that it finds the game position.
void Dispatch(Engine& engine, const char* word) {
  const CommandRow* row = FindCommand(engine, word);
  if (row == nullptr) return;
  if (!row->keepsPondering && engine.State == ENGINE_PONDERING) LeavePondering(engine);
  row->action(engine, word);
}

// One word read and acted on. False at the end of input.
bool ExecuteWord(Engine& engine) {
  WordStatus status = ReadWord(CommandBuffer, sizeof CommandBuffer);
  if (status == WordStatus::EndOfInput) return false;
  EngineLog << "::cmd:: " << CommandBuffer << EndLine;
  if (status == WordStatus::TooLong) {
    // No command is that long: the word is ignored, and none of it is read as another.
    EngineLog << "-M: word longer than " << COMMAND_BUFFER_SIZE - 1 << " characters ignored"
              << EndLine;
    return true;
  }
  Dispatch(engine, CommandBuffer);
  return true;
}

}  // namespace

const CommandRow* CommandTableBegin() { return std::begin(CommandTable); }
const CommandRow* CommandTableEnd() { return std::end(CommandTable); }

const CommandRow* FindCommand(Engine& engine, const char* word) {
  for (const CommandRow& row : CommandTable) {
    if (RowMatches(engine, row, word)) return &row;
  }
  return nullptr;
}

void ExecuteWordsOfInput(Engine& engine) {
  while (ExecuteWord(engine)) {
  }
}

bool ExecuteNextCommand(Engine& engine) {
  if (!ExecuteWord(engine)) return false;
  if (engine.State == ENGINE_QUIT) return false;
  AnalyzeWhilePending(engine);
  return engine.State != ENGINE_QUIT;
}

void CommandLoop(Engine& engine) {
  engine.PonderEnabled = true;
  std::memset(CommandBuffer, 0, sizeof CommandBuffer);
  engine.State = ENGINE_FORCE;
  UseXboardInputDuringSearch(engine);
  if (!XboardHandshake(engine)) return;
  while (ExecuteNextCommand(engine)) {
  }
}
