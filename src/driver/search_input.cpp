#include "driver/search_input.h"

#include "driver/command_loop.h"
#include "platform/console_input.h"
#include "search/search_stop.h"

namespace {

LineVerdict Answer(Engine& engine, const char* line, size_t length) {
  RunWithLineAsInput(line, length, [&engine] { ExecuteWordsOfInput(engine); });
  return LineVerdict::Remove;
}

// A line waiting while the engine searches (or, between searches, waits) in
// the present state. A line that is no command is kept for the loop, which
// logs and ignores it.
LineVerdict Classify(Engine& engine, const char* line, size_t length) {
  char word[COMMAND_BUFFER_SIZE];
  FirstWordOfLine(line, length, word);
  const CommandRow* row = FindCommand(engine, word);
  if (row == nullptr) return LineVerdict::Keep;
  const bool ownSearch = engine.State == ENGINE_THINKING;
  switch (row->duringSearch) {
    case DuringSearch::Answered:
      return Answer(engine, line, length);
    case DuringSearch::AnsweredAfterMove:
      return ownSearch ? LineVerdict::Keep : Answer(engine, line, length);
    case DuringSearch::StopsWithoutMove:
      if (ownSearch) engine.AbandonSearch = true;
      return LineVerdict::Stop;
    case DuringSearch::Stops:
      break;
  }
  return LineVerdict::Stop;
}

}  // namespace

bool AnswerWaitingInput(Engine& engine) {
  return WalkWaitingLines([&engine](const char* line, size_t length) { return Classify(engine, line, length); });
}

void UseXboardInputDuringSearch(Engine& engine) {
  WaitingInputStopsSearch = [&engine](Position&) { return AnswerWaitingInput(engine); };
}

bool TurnTakenBackByWaitingInput(Engine& engine) {
  const i32 state = engine.State;
  engine.State = ENGINE_THINKING;
  engine.AbandonSearch = false;
  WalkWaitingLines([&engine](const char* line, size_t length) { return Classify(engine, line, length); });
  engine.State = state;
  return engine.AbandonSearch;
}
