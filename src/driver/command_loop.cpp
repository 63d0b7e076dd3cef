#include "driver/command_loop.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "board/position.h"
#include "driver/bench_commands.h"
#include "driver/board_commands.h"
#include "driver/book_commands.h"
#include "platform/console_input.h"
#include "driver/conversion_commands.h"
#include "driver/eval_commands.h"
#include "driver/game_commands.h"
#include "driver/makebook_command.h"
#include "driver/xboard.h"
#include "platform/engine_log.h"
#include "driver/perft_commands.h"
#include "driver/time_control.h"

i32 EngineState = ENGINE_FORCE;
bool PonderEnabled = true;

namespace {

char CommandBuffer[COMMAND_BUFFER_SIZE];

// "time N otim M": the own clock in centiseconds sets the budget; the
// opponent's clock is read and not used. A missing number changes nothing and
// leaves the next word to be read as a command.
void TimeCommand(const char*) {
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
  AllocateTime(ownClock);
}

bool LooksLikeBaseTime(const char* word) {
  if (*word == '\0') return false;
  for (const char* c = word; *c; ++c) {
    if ((*c < '0' || *c > '9') && *c != ':' && *c != '.') return false;
  }
  return true;
}

constexpr i32 MS_PER_SECOND = 1000;
// The longest increment whose milliseconds still fit the clock's integer.
constexpr i32 MAX_INCREMENT_SECONDS = std::numeric_limits<i32>::max() / MS_PER_SECOND;

// "level MPS BASE INC": moves per control and the increment in seconds; the
// base time is read and not used.
void LevelCommand(const char*) {
  i32 moves;
  if (!ReadNumber(moves)) return;
  char base[COMMAND_BUFFER_SIZE];
  WordStatus status = ReadWord(base, sizeof base);
  if (status == WordStatus::TooLong || (status == WordStatus::Read && !LooksLikeBaseTime(base))) {
    UnreadWord(base, status);
  }
  i32 increment = 0;
  ReadNumber(increment);
  MovesPerControl = moves > 0 ? moves : 0;
  IncrementMs = increment >= 1 ? std::min(increment, MAX_INCREMENT_SECONDS) * MS_PER_SECOND : 0;
}

void EasyCommand(const char*) { PonderEnabled = false; }
void HardCommand(const char*) { PonderEnabled = true; }
void QuitCommand(const char*) { EngineState = ENGINE_QUIT; }

void WhiteCommand(const char*) { SetSideToMove(WHITE); }
void BlackCommand(const char*) { SetSideToMove(BLACK); }

void BenchmarkCommand(const char*) {
  char unused[COMMAND_BUFFER_SIZE];
  ReadWord(unused, sizeof unused);
  std::printf("Define __STAT\n");
}

// A game move is no word of the table: it is any word that reads as a move.
enum class Match { Prefix, Exact, GameMove };

struct CommandRow {
  const char* word;
  Match match;
  void (*action)(const char* word);
};

// Tried top to bottom; the first row that matches acts. A prefix row matches
// every word that begins with its letters ("timeX", "newgame").
const CommandRow CommandTable[] = {
    {"time", Match::Prefix, TimeCommand},
    {"", Match::GameMove, GameMoveCommand},
    {"go", Match::Prefix, GoCommand},
    {"new", Match::Prefix, NewCommand},
    {"result", Match::Prefix, ResultCommand},
    {"level", Match::Prefix, LevelCommand},
    {"force", Match::Prefix, ForceCommand},
    {"setboard", Match::Prefix, SetboardCommand},
    {"easy", Match::Exact, EasyCommand},
    {"hard", Match::Exact, HardCommand},
    {"quit", Match::Prefix, QuitCommand},
    {"white", Match::Prefix, WhiteCommand},
    {"black", Match::Prefix, BlackCommand},
    {"pgn2pos", Match::Exact, PgnToPosCommand},
    {"pgn2game", Match::Exact, PgnToGameCommand},
    {"pgnlist2game", Match::Exact, PgnListToGameCommand},
    {"game2pgn", Match::Exact, GameToPgnCommand},
    {"game2pos", Match::Exact, GameToPosCommand},
    {"bookshow", Match::Exact, BookShowCommand},
    {"dbshow", Match::Exact, DatabaseShowCommand},
    {"dbshowlin", Match::Exact, DatabaseShowCommand},
    {"bookcreate", Match::Exact, BookCreateCommand},
    {"dbcreate", Match::Exact, DatabaseCreateCommand},
    {"makebook", Match::Exact, MakeBookCommand},
    {"benchmark", Match::Exact, BenchmarkCommand},
    {"perft", Match::Exact, PerftCommand},
    {"test", Match::Exact, TestCommand},
    {"d", Match::Exact, ShowBoardCommand},
    {"eval", Match::Exact, EvalCommand},
    {"divide", Match::Exact, DivideCommand},
    {"bench", Match::Exact, BenchCommand},
};

bool RowMatches(const CommandRow& row, const char* word) {
  if (row.match == Match::GameMove) return AcceptsGameMove(word);
  if (row.match == Match::Exact) return std::strcmp(word, row.word) == 0;
  return std::strncmp(word, row.word, std::strlen(row.word)) == 0;
}

void Dispatch(const char* word) {
  for (const CommandRow& row : CommandTable) {
    if (RowMatches(row, word)) {
      row.action(word);
      return;
    }
  }
}

}  // namespace

bool ExecuteNextCommand() {
  WordStatus status = ReadWord(CommandBuffer, sizeof CommandBuffer);
  if (status == WordStatus::EndOfInput) return false;
  EngineLog << "::cmd:: " << CommandBuffer << EndLine;
  if (status == WordStatus::TooLong) {
    // No command is that long: the word is ignored, and none of it is read as another.
    EngineLog << "-M: word longer than " << COMMAND_BUFFER_SIZE - 1 << " characters ignored"
              << EndLine;
    return true;
  }
  Dispatch(CommandBuffer);
  return EngineState != ENGINE_QUIT;
}

void CommandLoop() {
  PonderEnabled = true;
  std::memset(CommandBuffer, 0, sizeof CommandBuffer);
  EngineState = ENGINE_FORCE;
  if (!XboardHandshake()) return;
  while (ExecuteNextCommand()) {
  }
}
