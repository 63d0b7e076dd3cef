#include "search/think.h"

#include <algorithm>
#include <cstring>

#include "board/check.h"
#include "board/position.h"
#include "board/position_text.h"
#include "movegen/legal_moves.h"
#include "movegen/move_stack.h"
#include "platform/clock.h"
#include "platform/engine_log.h"
#include "search/draw.h"
#include "search/helper_searchers.h"
#include "search/root_moves.h"
#include "search/score.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/search_root.h"
#include "search/searcher.h"
#include "search/search_stop.h"
#include "search/trans_table.h"

namespace {

constexpr i16 NO_SCORE_YET = -9999;
constexpr u32 FIRST_ITERATION = 2;
// No iteration is deeper than the table can record.
constexpr u32 LAST_ITERATION = TRANS_MAX_DEPTH;
constexpr i16 ASPIRATION_MARGIN = 30;
// The fourth iteration that sees a mate within its depth ends the search.
constexpr int MATE_ITERATIONS_TO_STOP = 4;
// A fail low with more than this many moves to go gets twice the budget more
// for the iteration.
constexpr i32 FEW_MOVES_TO_GO = 4;
constexpr i64 FAIL_LOW_EXTRA_BUDGETS = 2;
constexpr int MOVES_PER_MATE_PLY_PAIR = 2;

struct Window {
  i16 alpha = -FULL_WINDOW;
  i16 beta = FULL_WINDOW;
};

// The table's entry for the root gives a first answer and, when deep enough,
// the first window and depth.
void SeedFromTable(Searcher& s, Position& pos, Window& window) {
  const std::optional<TransEntry> entry = ProbeTransTable(pos);
  // An entry whose move may not be chosen says nothing of the moves that may.
  if (!entry || !RootMoveAllowed(*s.Limits, EntryMove(*entry))) {
    EngineLog << "---------- brak hm na poczatku!!!" << EndLine;
    return;
  }
  const Move move = EntryMove(*entry);
  const i16 score = EntryScore(*entry);
  s.BestMove = move;
  s.BestScore = score;
  if (EntryDepth(*entry) >= static_cast<int>(FIRST_ITERATION)) {
    const u32 bound = EntryBound(*entry);
    if (bound == BOUND_EXACT) {
      window = {static_cast<i16>(score - ASPIRATION_MARGIN), static_cast<i16>(score + ASPIRATION_MARGIN)};
      // A depth limit below the entry's still searches its last iteration.
      s.IterationDepth = std::min(static_cast<u32>(EntryDepth(*entry)), std::max(FIRST_ITERATION, s.Limits->MaxSearchDepth));
    } else if (bound == BOUND_LOWER && score > -FULL_WINDOW) {
      window.alpha = score;
    } else if (bound == BOUND_UPPER && score < FULL_WINDOW) {
      window.beta = score;
    }
  }
  if (RepetitionAfterMove(pos, move) > 0) {
    EngineLog << "---------- repetition after hash!!!" << EndLine;
    s.IterationDepth = FIRST_ITERATION;
  }
  if (window.alpha > MATE_SCORE_LIMIT) {
    EngineLog << "---------- mate score from hash!!! m:" << static_cast<unsigned>(move) << EndLine;
    window.beta = FULL_WINDOW;
    s.IterationDepth = FIRST_ITERATION;
    if (window.alpha >= FULL_WINDOW) EngineLog << "------------------------- WARNING: " << window.alpha << EndLine;
  }
}

void LogPosition(Position& pos) {
  char text[POSITION_TEXT_SIZE];
  WritePositionText(pos, text);
  EngineLog << "-FEN:\t" << text << EndLine;
}

// One iteration, searched again with a wider window when it fails outside the
// aspiration window. A fail low with many moves to go triples the budget;
// extraTime says by how much, for the caller to take back.
i16 SearchIteration(Searcher& s, Position& pos, const Window& window, i64& extraTime) {
  i16 score = SearchRoot(s, pos, window.alpha, window.beta);
  // A stopped iteration is not published, so it is not searched again.
  if (StopSearch) return score;
  const i16 wideAlpha = -FULL_WINDOW, wideBeta = FULL_WINDOW - 1;
  if (score <= window.alpha) {
    s.RootResearchFlag = -1;
    if (s.Limits->MovesToGo > FEW_MOVES_TO_GO) {
      extraTime = FAIL_LOW_EXTRA_BUDGETS * s.Limits->TimeBudgetMs;
      s.Limits->TimeBudgetMs += extraTime;
    }
    const i16 failed = score;
    score = SearchRoot(s, pos, wideAlpha, static_cast<i16>(failed + 1));
    if (score <= wideAlpha || score >= failed + 1) score = SearchRoot(s, pos, wideAlpha, wideBeta);
    s.RootResearchFlag = 0;
  } else if (score >= window.beta) {
    s.RootResearchFlag = 1;
    const i16 failed = score;
    score = SearchRoot(s, pos, static_cast<i16>(failed - 1), wideBeta);
    if (score <= failed - 1 || score >= wideBeta) score = SearchRoot(s, pos, wideAlpha, wideBeta);
    s.RootResearchFlag = 0;
  }
  return score;
}

// The expected line that starts with move, as PvToText writes it, as deep as
// the iteration; the length of its moves alone.
size_t WriteLine(Searcher& s, Position& pos, char* text, Move move) {
  return PvToText(pos, text, static_cast<int>(std::min<u32>(s.IterationDepth, PV_MAX_MOVES)), move);
}

// The log's trace of a completed iteration, and the iteration for the
// interface: one report for each of its lines, best first, each line's moves
// without the table's closing marks.
void ReportIteration(Searcher& s, Position& pos, i16 score, u32 lines) {
  if (PonderSearch(*s.Limits)) EngineLog << "-PONDER:" << EndLine;
  const size_t bestLength = WriteLine(s, pos, s.PvText, s.BestMove);
  EngineLog << "-E: " << s.IterationDepth << ":\t" << score << "\t" << s.PvText << EndLine;
  if (PonderSearch(*s.Limits) || !s.Limits->PrintThinking) return;
  const i64 elapsedMs = ClockMs() - s.Limits->SearchStartClock;
  const bool numbered = s.Limits->MultiPvLines > 1;
  char moves[PV_TEXT_SIZE];
  for (u32 line = 0; line < std::min(lines, s.Limits->MultiPvLines); ++line) {
    if (line == 0) {
      std::memcpy(moves, s.PvText, bestLength);
      moves[bestLength] = '\0';
    } else {
      moves[WriteLine(s, pos, moves, s.MoveStack[line].move)] = '\0';
    }
    const i16 lineScore = line > 0 ? s.MoveStack[line].score : score;
    ReportIterationTo(
        {s.IterationDepth, s.SelectiveDepth, lineScore, elapsedMs, pos.MovesMade, moves, numbered ? line + 1 : 0});
  }
}

u32 LinesLookedFor(Searcher& s) { return std::max(s.Limits->MultiPvLines, std::min(s.Limits->ChoiceLines, MAX_MULTI_PV_LINES)); }

// The lines after the first of an iteration that looks for several, each the
// best of the root moves the lines before it left, with a full window; then
// the lines in order of score. How many lines the iteration has, the first
// included: fewer than asked for when the legal moves run out.
u32 SearchOtherLines(Searcher& s, Position& pos) {
  u32 lines = 1;
  for (; lines < LinesLookedFor(s); ++lines) {
    const i16 score = SearchRoot(s, pos, -FULL_WINDOW, FULL_WINDOW - 1, lines);
    if (StopSearch) return lines;
    if (score == SCORE_ILLEGAL) break;
  }
  std::stable_sort(s.MoveStack, s.MoveStack + lines,
                   [](const MoveEntry& a, const MoveEntry& b) { return a.score > b.score; });
  return lines;
}

bool MateWithinHorizon(Searcher& s, i16 score) {
  const int depth = static_cast<int>(s.IterationDepth);
  return score <= depth - MATE_SCORE || score >= MATE_SCORE - depth;
}

Window AspirationWindow(i16 score) {
  auto limit = [](int value) { return static_cast<i16>(std::clamp<int>(value, -FULL_WINDOW, FULL_WINDOW)); };
  return {limit(score - ASPIRATION_MARGIN), limit(score + ASPIRATION_MARGIN)};
}

// Iterations from IterationDepth on, until one of the ends of the search.
// Returns the depth of the last iteration completed, 0 when none was.
u32 Deepen(Searcher& s, Position& pos, Window window) {
  u32 completed = 0;
  i64 extraTime = 0;
  int mateIterations = 0;
  Move lastBest = s.BestMove;
  const u32 lastIteration = std::min<u32>(s.Limits->MaxSearchDepth, LAST_ITERATION);
  while (s.IterationDepth <= lastIteration) {
    i16 score = SearchIteration(s, pos, window, extraTime);
    const u32 lines = LinesLookedFor(s) > 1 && !StopSearch ? SearchOtherLines(s, pos) : 1;
    if (StopSearch || TimeIsUp(s, pos)) {
      StopSearch = true;
      if (extraTime > 0) s.Limits->TimeBudgetMs -= extraTime;
      return completed;
    }
    completed = s.IterationDepth;
    s.BestMove = s.MoveStack[0].move;
    s.BestScore = s.MoveStack[0].score;
    std::copy(s.MoveStack, s.MoveStack + lines, s.LastIterationLines);
    s.LastIterationLineCount = lines;
    s.MoveToPlayKnown = true;
    if (s.BestMove == GAME_STALEMATE) {
      EngineLog << "-----STALEMATED---" << EndLine;
      return completed;
    }
    if (extraTime > 0) {
      s.Limits->TimeBudgetMs -= extraTime;
      extraTime = 0;
    }
    if (lines > 1) score = s.BestScore;
    ReportIteration(s, pos, score, lines);
    if (MateWithinHorizon(s, score)) {
      EngineLog << "--- MATE: " << score << EndLine;
      if (++mateIterations >= MATE_ITERATIONS_TO_STOP) return completed;
    }
    const bool bestMoveChanged = s.BestMove != lastBest;
    lastBest = s.BestMove;
    if (NoTimeForAnotherIteration(s, bestMoveChanged)) return completed;
    window = AspirationWindow(score);
    ++s.IterationDepth;
  }
  return completed;
}

// A helper's iteration deeper than any the reporting thread completed gives
// the move, shown as its iteration. Not when several lines are looked for:
// those come from the reporting thread alone.
void TakeDeeperHelperLine(Searcher& s, Position& pos, const HelperLine& helped, u32 completed) {
  if (helped.depth <= completed || LinesLookedFor(s) > 1 || !IsGeneratedLegalMove(pos, helped.move)) return;
  s.IterationDepth = helped.depth;
  s.BestMove = helped.move;
  s.BestScore = helped.score;
  s.MoveStack[0] = {helped.score, helped.move};
  s.LastIterationLines[0] = s.MoveStack[0];
  s.LastIterationLineCount = 1;
  ReportIteration(s, pos, helped.score, 1);
}

// Everything one search starts from: counters, the root list and record, the line's checks.
void StartSearch(Searcher& s, Position& pos) {
  pos.MovesMade = 0;
  s.InCheckCount[BLACK] = s.InCheckCount[WHITE] = 0;
  s.MoveStack[0].move = NO_MOVE;
  s.NextPollAt = POLL_INTERVAL;
  PlyRecordOf(s, pos).listEnd = nullptr;
  s.RootResearchFlag = 0;
  s.IterationDepth = FIRST_ITERATION;
  s.SelectiveDepth = 0;
}

}  // namespace

void ReportNowhere(const IterationReport&) {}

std::function<void(const IterationReport& report)> ReportIterationTo = ReportNowhere;

int MateInMoves(i16 score) {
  if (score > MATE_SCORE_LIMIT) return (MATE_SCORE - score + 1) / MOVES_PER_MATE_PLY_PAIR;
  if (score < -MATE_SCORE_LIMIT) return -((MATE_SCORE + score) / MOVES_PER_MATE_PLY_PAIR);
  return 0;
}

Move Think(Searcher& s, Position& pos) {
  UndoRecord* const callerTop = pos.UndoTop;
  pos.UndoTop = pos.UndoRecords;
  s.BestMove = NO_MOVE;
  s.BestScore = NO_SCORE_YET;
  s.LastIterationLineCount = 0;
  s.MoveToPlayKnown = false;
  if (const Move draw = DrawCheck(pos, ROOT_REPEATS); draw != NO_MOVE) {
    s.BestMove = draw;
    s.BestScore = DRAW_SCORE;
    pos.UndoTop = callerTop;
    return draw;
  }

  StartSearch(s, pos);
  Window window;
  SeedFromTable(s, pos, window);
  // A deep table answer is a move to play at once, if it fits the position.
  s.MoveToPlayKnown = s.IterationDepth > FIRST_ITERATION && IsGeneratedLegalMove(pos, s.BestMove);
  LogPosition(pos);
  FindCheckers(pos, *pos.UndoTop);
  HelperSearchers helpers(pos, *s.Limits, s.Limits->SearchThreads - 1, s.IterationDepth, std::min<u32>(s.Limits->MaxSearchDepth, LAST_ITERATION));
  const u32 completed = Deepen(s, pos, window);
  TakeDeeperHelperLine(s, pos, helpers.Stop(), completed);

  if (!ProbeTransTable(pos)) {
    EngineLog << "**************************************************** WARNING "
                 "*****************************************************************"
              << EndLine;
  }
  pos.UndoTop = callerTop;
  return s.BestMove;
}
