// Console words from anywhere, fed to the engine's own command loop through a
// pipe, as an operator or an interface would type them. Words that read or
// write files never reach the loop, and slow ones are held to small numbers
// (WORD_RULES). After every command the board agrees with itself and, unless
// a guess is being pondered on, with the game copy.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "board/position.h"
#include "driver/command_loop.h"
#include "driver/pondering.h"
#include "engine/engine.h"
#include "engine/engine_setup.h"
#include "engine/new_position.h"
#include "engine/time_control.h"
#include "search/think.h"
#include "fuzz_support.h"
#include "platform/console_input.h"

namespace {

// What happens to a word that begins with the rule's letters: dropped, or the
// number that follows it held to a limit. Extend it with every new word that
// touches files or can run long.
constexpr int DROPPED = -1;
struct WordRule {
  const char* prefix;
  int numberLimit;
};
const WordRule WORD_RULES[] = {
    {"pgn2pos", DROPPED},  {"pgn2game", DROPPED},   {"pgnlist2game", DROPPED}, {"game2pgn", DROPPED},
    {"game2pos", DROPPED}, {"dbcreate", DROPPED},   {"bookcreate", DROPPED},   {"makebook", DROPPED},
    {"dbshow", DROPPED},   {"bench", DROPPED},      {"perft", 2},              {"divide", 2},
    {"sd", 3},             {"st", 1},               {"memory", 16},
};

// The pipe holds this much without a reader.
constexpr size_t PIPE_INPUT_LIMIT = 60000;

bool IsWordSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

const WordRule* RuleOf(const std::string& word) {
  for (const WordRule& rule : WORD_RULES) {
    if (word.starts_with(rule.prefix)) return &rule;
  }
  return nullptr;
}

// A word read as ReadNumber reads it: an optional sign, then digits.
bool ReadsAsNumberAbove(const std::string& word, int limit) {
  size_t at = word[0] == '-' || word[0] == '+' ? 1 : 0;
  size_t digits = at;
  while (digits < word.size() && word[digits] >= '0' && word[digits] <= '9') ++digits;
  if (digits == at) return false;
  return word[0] != '-' && (digits - at > 9 || std::stol(word.substr(at, digits - at)) > limit);
}

// The input as the loop will read it: zero bytes taken out (a word ends at
// one in the loop's buffer), then the rules applied word by word; the white
// space between words, line ends included, stays as it was.
std::string Filtered(std::string input) {
  input.erase(std::remove(input.begin(), input.end(), '\0'), input.end());
  std::string out;
  const WordRule* previous = nullptr;
  for (size_t at = 0; at < input.size();) {
    if (IsWordSpace(input[at])) {
      out += input[at++];
      continue;
    }
    size_t end = at;
    while (end < input.size() && !IsWordSpace(input[end])) ++end;
    std::string word = input.substr(at, end - at);
    at = end;
    const WordRule* rule = RuleOf(word);
    if (rule && rule->numberLimit == DROPPED) continue;  // the word before still reads the next one
    if (previous && ReadsAsNumberAbove(word, previous->numberLimit)) word = std::to_string(previous->numberLimit);
    previous = rule;
    out += word;
  }
  return out;
}

void ResetEngine(Engine& engine) {
  engine.State = ENGINE_FORCE;
  engine.PonderEnabled = true;
  engine.PonderMove = NO_MOVE;
  engine.MovesPerControl = 0;
  engine.IncrementMs = 0;
  engine.ControlBaseMs = 0;
  engine.FixedMoveMs = 0;
  engine.DepthLimit = 0;
  engine.UseOwnBook = true;
  engine.limits.PrintThinking = true;
  LoadPosition(engine, INITIAL_POSITION);
}

void RequireGameInStep(Engine& engine) {
  Position& pos = engine.game;
  RequireBoardConsistent(pos);
  if (engine.State == ENGINE_PONDERING) return;
  Require(std::memcmp(pos.Board, pos.GameBoard, sizeof pos.Board) == 0 && pos.GameSideToMove == pos.SideToMove,
          "the game copy is the board");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Engine engine;
  const std::string input = Filtered(std::string(reinterpret_cast<const char*>(data), std::min(size, PIPE_INPUT_LIMIT)));
  int ends[2];
  Require(pipe(ends) == 0, "a pipe");
  const int previous = InputDescriptor();
  SetInputDescriptor(ends[0]);
  Require(write(ends[1], input.data(), input.size()) == static_cast<ssize_t>(input.size()), "the input written");
  close(ends[1]);
  ResetEngine(engine);
  while (ExecuteNextCommand(engine)) RequireGameInStep(engine);
  RequireGameInStep(engine);
  SetInputDescriptor(previous);
  close(ends[0]);
  return 0;
}
