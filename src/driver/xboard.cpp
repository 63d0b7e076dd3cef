#include "driver/xboard.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "board/move_text.h"
#include "book/opening_book.h"
#include "driver/analysis.h"
#include "driver/command_loop.h"
#include "driver/pondering.h"
#include "driver/search_input.h"
#include "driver/thinking_line.h"
#include "engine/engine_setup.h"
#include "engine/strength_level.h"
#include "engine/game.h"
#include "engine/move_suggestion.h"
#include "engine/time_control.h"
#include "movegen/legal_moves.h"
#include "platform/clock.h"
#include "platform/console_input.h"
#include "platform/engine_log.h"
#include "search/draw.h"
#include "search/score.h"
#include "search/search_limits.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "search/trans_table.h"

namespace {

struct Feature {
  const char* name;
  const char* value;
};
// The first two stand as they always have; the interface waits from
// "done=0" until "done=1" while the tables are built.
const Feature Features[] = {{"done", "0"}, {"setboard", "1"}};

// What the engine does beyond them.
const char* const MoreFeatures[] = {
    "ping=1",
    "analyze=1",
    "sigint=0",
    "colors=0",
    "playother=1",
    "usermove=0",
    "variants=\"normal\"",
    "san=0",
    "smp=1",
    "time=1",
    "draw=0",
    "reuse=1",
    "memory=1",
    "nps=1",
    "option=\"OwnBook -check 1\"",
    "option=\"BookFolder -path .\"",
    "option=\"BookFile -file \"",
    "option=\"Search -combo Classic /// Modern\"",
    "option=\"MultiPV -spin 1 1 8\"",
    "option=\"Skill Level -spin 20 0 20\"",
    "option=\"UCI_LimitStrength -check 0\"",
};
static_assert(MAX_MULTI_PV_LINES == 8, "the MultiPV option offers 1 to MAX_MULTI_PV_LINES lines");
static_assert(FULL_STRENGTH_LEVEL == 20, "the Skill Level option offers 0 to FULL_STRENGTH_LEVEL");

// Under a node rate the thinking line tells the time its nodes stand for.
void PrintThinkingOnNodeClock(Engine& engine, const IterationReport& report) {
  IterationReport shown = report;
  if (engine.NodesPerSecond > 0) {
    shown.elapsedMs = static_cast<i64>(report.nodes * static_cast<u64>(MS_PER_SECOND) / static_cast<u64>(engine.NodesPerSecond));
  }
  PrintThinkingLine(shown);
}

// The score of a move that mates: the opponent is mated at the next ply.
constexpr i16 MATE_IN_ONE_SCORE = Negate(MatedAtPly(1));

// "1-0" when black is to move (white has just won), else "0-1".
const char* WinnerResult(Position& pos) { return pos.SideToMove == BLACK ? "1-0" : "0-1"; }

// The claim for a game-end code found by the search before moving; null for a move.
const char* ClaimBeforeMoving(Position& pos, Move best, char* buffer, size_t size) {
  switch (best) {
    case GAME_REPETITION: return "1/2-1/2 {Draw by 3 fold repetition (2)}\n";
    case GAME_STALEMATE: return "1/2-1/2 {Draw by stalemate (1)}\n";
    case GAME_FIFTY_MOVES: return "1/2-1/2 {Draw by 50 moves rule (3)}\n";
    case GAME_NO_MATERIAL: return "1/2-1/2 {Draw by insufficient material to mate (4)}\n";
    case GAME_MATED:
      std::snprintf(buffer, size, "%s {Tavrel mated 0}\n", WinnerResult(pos));
      return buffer;
    default: return nullptr;
  }
}

// The claim after the engine's move, with the opponent to move; null for none.
const char* ClaimAfterMoving(Engine& engine, char* buffer, size_t size) {
  Position& pos = engine.game;
  if (engine.searcher->BestScore == MATE_IN_ONE_SCORE) {
    std::snprintf(buffer, size, "%s {Tavrel mates 1}\n", WinnerResult(pos));
    return buffer;
  }
  if (engine.searcher->BestScore > MATE_SCORE_LIMIT) {
    const std::optional<TransEntry> entry = ProbeTransTable(pos);
    if (entry && EntryMove(*entry) == GAME_MATED) {
      std::snprintf(buffer, size, "%s {Tavrel mates 1#}\n", WinnerResult(pos));
      return buffer;
    }
    return nullptr;
  }
  switch (DrawCheck(pos, ROOT_REPEATS)) {
    case GAME_REPETITION: return "1/2-1/2 {Draw by 3 fold repetition (22)}\n";
    case GAME_FIFTY_MOVES: return "1/2-1/2 {Draw by 50 moves rule (33)}\n";
    case GAME_NO_MATERIAL: return "1/2-1/2 {Draw by insufficient material to mate (44)}\n";
    default: return nullptr;
  }
}

// Plays the engine's move on the board (which logs the new key) and sends it;
// returns its text.
std::string PlayAndSendMove(Engine& engine, Move move) {
  PlayGameMove(engine, move);
  const std::string text = MoveText(move);
  std::printf("move %s\n", text.c_str());
  return text;
}

// The table's best move for the side to move, when it is a move of the
// position: a code that reports a game's end, or a move of another position
// that shares the key, is never played on the board.
Move ExpectedReply(Position& pos) {
  const std::optional<TransEntry> entry = ProbeTransTable(pos);
  if (!entry) return NO_MOVE;
  Move reply = EntryMove(*entry);
  return IsGeneratedLegalMove(pos, reply) ? reply : NO_MOVE;
}

bool PlayBookMove(Engine& engine) {
  Move move = ChooseBookMove(engine);
  if (move == NO_MOVE) return false;
  const std::string text = PlayAndSendMove(engine, move);
  EngineLog << "move (book) " << text << EndLine;
  engine.State = ENGINE_PLAYING;
  if (!engine.PonderEnabled) {
    EngineLog << "- NO ponder move" << EndLine;
    return true;
  }
  PonderIfExpected(engine);
  return true;
}

// The search for the engine's move; false when a command took the turn back.
bool SearchOwnMove(Engine& engine, bool goodPonder) {
  PrepareOwnMoveLimits(engine);
  engine.AbandonSearch = false;
  engine.State = ENGINE_THINKING;
  engine.SearchRunning = true;
  StartEngine(engine, goodPonder, UNLIMITED_DEPTH, SearchMode::OwnMove, true);
  engine.SearchRunning = false;
  engine.limits.NodeLimit = 0;
  engine.State = ENGINE_PLAYING;
  if (engine.AbandonSearch) EngineLog << "-M: the turn was taken back: no move" << EndLine;
  return !engine.AbandonSearch;
}

}  // namespace

bool XboardHandshake(Engine& engine) {
  engine.State = ENGINE_PLAYING;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::fflush(nullptr);
  char greeting[COMMAND_BUFFER_SIZE] = "";
  WordStatus status = ReadWord(greeting, sizeof greeting);
  if (status != WordStatus::EndOfInput) {
    const bool xboard = status == WordStatus::Read && std::strncmp(greeting, "xboard", 6) == 0;
    if (!xboard) {
      std::printf("Engine works only with xboard protocol ver. 2\n");
      UnreadWord(greeting, status);  // an operator's first command is still carried out
    }
  }
  ReportIterationTo = [&engine](const IterationReport& report) { PrintThinkingOnNodeClock(engine, report); };
  std::printf("\n");
  for (const Feature& feature : Features) std::printf("feature %s=%s\n", feature.name, feature.value);
  std::printf("feature myname=\"%s %s\"\n", ENGINE_NAME, ENGINE_VERSION);
  for (const char* feature : MoreFeatures) std::printf("feature %s\n", feature);
  std::printf("feature option=\"UCI_Elo -spin %d %d %d\"\n", MAX_LIMIT_ELO, MIN_LIMIT_ELO, MAX_LIMIT_ELO);
  const bool bookOpened = InitEngine(engine);
  std::printf("feature done=1\n");
  if (!bookOpened) {
    const char* message = EngineBook.Message().Text();
    std::printf("BOOK ERROR: %s\n", message);
    EngineLog << "BOOK ERROR: " << message;
  }
  return true;
}

void PonderIfExpected(Engine& engine) {
  Position& pos = engine.game;
  Move guess = engine.PonderEnabled ? ExpectedReply(pos) : NO_MOVE;
  if (guess == NO_MOVE) {
    EngineLog << "- NO ponder move" << EndLine;
    return;
  }
  StartPondering(engine, guess);
}

Move HintMove(Engine& engine) {
  Position& pos = engine.game;
  if (engine.State == ENGINE_PONDERING) return engine.PonderMove;
  if (engine.SearchRunning) return engine.searcher->MoveToPlayKnown ? engine.searcher->BestMove : NO_MOVE;
  if (const Move reply = ExpectedReply(pos); reply != NO_MOVE) return reply;
  return SuggestedMove(engine);
}

void EngineMove(Engine& engine) {
  Position& pos = engine.game;
  bool goodPonder = engine.State == ENGINE_PONDERING;
  if (TurnTakenBackByWaitingInput(engine)) {
    engine.State = ENGINE_PLAYING;
    EngineLog << "-M: the turn was taken back: no move" << EndLine;
    return;
  }
  if (PlayBookMove(engine)) return;
  if (!SearchOwnMove(engine, goodPonder)) return;

  char claimText[64];
  const Move best = PlayableBestMove(engine);
  const char* claim = ClaimBeforeMoving(pos, best, claimText, sizeof claimText);
  if (!claim) {
    const std::string text = PlayAndSendMove(engine, best);
    EngineLog << "move " << text << "\tscore: " << engine.searcher->BestScore << EndLine;
    claim = ClaimAfterMoving(engine, claimText, sizeof claimText);
  }
  engine.State = ENGINE_PLAYING;
  if (claim) {
    std::printf("%s", claim);
    EngineLog << "- NO ponder move" << EndLine;
    return;
  }
  // What waits and can be answered now is answered (a ping, a hint); a command
  // that must be read leaves no time to ponder.
  // A level below full strength thinks on its own time only.
  if (!engine.PonderEnabled || !PlaysAtFullStrength(engine) || AnswerWaitingInput(engine)) {
    EngineLog << "- NO ponder move" << EndLine;
    return;
  }
  PonderIfExpected(engine);
}
