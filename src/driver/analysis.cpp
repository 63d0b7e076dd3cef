#include "driver/analysis.h"

#include "board/move_text.h"
#include "board/position.h"
#include "book/book_move.h"
#include "driver/command_loop.h"
#include "engine/engine_setup.h"
#include "engine/time_control.h"
#include "search/draw.h"

bool AnalysisPending;
bool SearchRunning;
std::string BookMovesBeforeSearch;

std::string BookMovesText() {
  std::string text;
  Move candidates[MAX_LIST_MOVES];
  const int count = UseOwnBook ? BookCandidates(candidates) : 0;
  for (int i = 0; i < count; ++i) text += " " + MoveText(candidates[i]) + "\n";
  return text + "\n";
}

void AnalyzeWhilePending() {
  if (EngineState != ENGINE_ANALYZING || !AnalysisPending || AnswerWaitingInput()) return;
  AnalysisPending = false;
  if (GameEndOnBoard() != NO_MOVE || DrawCheck(ROOT_REPEATS) != NO_MOVE) return;
  BookMovesBeforeSearch = BookMovesText();
  SearchRunning = true;
  StartEngine(false, UNLIMITED_DEPTH, SearchMode::Analysis);
  SearchRunning = false;
  // Cut short by input: the loop reads it, and the analysis goes on afterwards.
  if (StopSearch) AnalysisPending = true;
}
