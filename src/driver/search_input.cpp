#include "driver/search_input.h"

#include <cstring>

#include "driver/command_loop.h"
#include "platform/console_input.h"
#include "search/search_stop.h"

bool AbandonSearch;

namespace {

// The first word of a line, cut to the command buffer.
void FirstWord(const char* line, size_t length, char* word) {
  size_t start = 0;
  while (start < length && (line[start] == ' ' || line[start] == '\t')) ++start;
  size_t end = start;
  while (end < length && line[end] != ' ' && line[end] != '\t' && end - start < COMMAND_BUFFER_SIZE - 1) ++end;
  std::memcpy(word, line + start, end - start);
  word[end - start] = '\0';
}

LineVerdict Answer(const char* line, size_t length) {
  RunWithLineAsInput(line, length, ExecuteWordsOfInput);
  return LineVerdict::Remove;
}

// A line waiting while the engine searches (or, between searches, waits) in
// the present state. A line that is no command is kept for the loop, which
// logs and ignores it.
LineVerdict Classify(const char* line, size_t length) {
  char word[COMMAND_BUFFER_SIZE];
  FirstWord(line, length, word);
  const CommandRow* row = FindCommand(word);
  if (row == nullptr) return LineVerdict::Keep;
  const bool ownSearch = EngineState == ENGINE_THINKING;
  switch (row->duringSearch) {
    case DuringSearch::Answered:
      return Answer(line, length);
    case DuringSearch::AnsweredAfterMove:
      return ownSearch ? LineVerdict::Keep : Answer(line, length);
    case DuringSearch::StopsWithoutMove:
      if (ownSearch) AbandonSearch = true;
      return LineVerdict::Stop;
    case DuringSearch::Stops:
      break;
  }
  return LineVerdict::Stop;
}

bool XboardInputStopsSearch() { return WalkWaitingLines(Classify); }

}  // namespace

void UseXboardInputDuringSearch() { WaitingInputStopsSearch = XboardInputStopsSearch; }

bool AnswerWaitingInput() { return WalkWaitingLines(Classify); }

bool TurnTakenBackByWaitingInput() {
  const i32 state = EngineState;
  EngineState = ENGINE_THINKING;
  AbandonSearch = false;
  WalkWaitingLines(Classify);
  EngineState = state;
  return AbandonSearch;
}
