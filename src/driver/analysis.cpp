#include "driver/analysis.h"

#include <cstdio>

#include "board/move_text.h"
#include "board/position.h"
#include "engine/book_file.h"
#include "driver/command_loop.h"
#include "engine/engine_setup.h"
#include "engine/time_control.h"
#include "search/draw.h"

namespace {

std::string PercentText(double percent) {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f%%", percent);
  return text;
}

}  // namespace

std::string BookMovesText(Engine& engine) {
  std::string text;
  for (const BookChoice& choice : BookChoices(engine)) {
    text += " " + MoveText(choice.move);
    if (choice.percent) text += " " + PercentText(*choice.percent);
    text += "\n";
  }
  return text + "\n";
}

void AnalyzeWhilePending(Engine& engine) {
  Position& pos = engine.game;
  if (engine.State != ENGINE_ANALYZING || !engine.AnalysisPending || AnswerWaitingInput(engine)) return;
  engine.AnalysisPending = false;
  if (GameEndOnBoard(pos) != NO_MOVE || DrawCheck(pos, ROOT_REPEATS) != NO_MOVE) return;
  engine.BookMovesBeforeSearch = BookMovesText(engine);
  engine.SearchRunning = true;
  StartEngine(engine, false, UNLIMITED_DEPTH, SearchMode::Analysis);
  engine.SearchRunning = false;
  // Cut short by input: the loop reads it, and the analysis goes on afterwards.
  if (StopSearch) engine.AnalysisPending = true;
}
