#include "uci/uci_loop.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "board/load_position.h"
#include "board/move_text.h"
#include "search/search_memory.h"
#include "book/opening_book.h"
#include "engine/engine_setup.h"
#include "engine/strength_level.h"
#include "engine/game.h"
#include "engine/position_report.h"
#include "engine/search_moves.h"
#include "engine/time_control.h"
#include "movegen/legal_moves.h"
#include "platform/clock.h"
#include "platform/console_input.h"
#include "platform/engine_log.h"
#include "search/score.h"
#include "search/search_limits.h"
#include "search/search_stop.h"
#include "search/think.h"
#include "uci/uci_options.h"

namespace {

// What "go" asked for.
struct GoRequest {
  i64 clockMs[2] = {-1, -1};  // btime, wtime
  i64 incrementMs[2] = {0, 0};
  i32 movesToGo = 0;
  bool clockGiven = false;  // a clock word came: the search is timed
  i64 moveTimeMs = 0;
  u32 depth = 0;
  u64 nodes = 0;
  i32 mate = 0;
  bool infinite = false;
  bool ponder = false;
  std::vector<std::string> searchMoves;
};

// A search that waits for "stop" (or "ponderhit") before its answer.
enum class Waiting { Nothing, Infinite, Ponder };

// Where the conversation with the interface stands.
struct UciSession {
  Waiting answer = Waiting::Nothing;
  GoRequest ponderRequest;  // the clock of a "go ponder", which counts from "ponderhit" on
  bool stoppedByInput = false;
  bool quitRequested = false;
  bool ponderSearchRunning = false;  // a "go ponder" search, which a "ponderhit" concerns
  std::string lastIterationMoves;    // the expected line of the last iteration reported
};

void PrintIteration(UciSession& session, const IterationReport& report) {
  const i64 ms = std::max<i64>(report.elapsedMs, 0);
  const unsigned long long nps = report.nodes * MS_PER_SECOND / static_cast<u64>(std::max<i64>(ms, 1));
  const int mate = MateInMoves(report.score);
  char score[32];
  if (report.score > MATE_SCORE_LIMIT || report.score < -MATE_SCORE_LIMIT) {
    std::snprintf(score, sizeof score, "mate %d", mate);
  } else {
    std::snprintf(score, sizeof score, "cp %d", static_cast<int>(report.score));
  }
  std::string moves = report.moves;
  while (!moves.empty() && moves.back() == ' ') moves.pop_back();
  // The move played is the best line's, and so is the move to ponder on.
  if (report.line <= 1) session.lastIterationMoves = moves;
  char line[32] = "";
  if (report.line > 0) std::snprintf(line, sizeof line, " multipv %u", report.line);
  std::printf("info depth %u seldepth %u%s score %s nodes %llu nps %llu time %lld%s%s\n", report.depth,
              std::max(report.depth, report.selectiveDepth), line, score, static_cast<unsigned long long>(report.nodes),
              nps, static_cast<long long>(ms), moves.empty() ? "" : " pv ", moves.c_str());
}

// The move to answer with: the search's, or for a position it answered as
// drawn without searching, the table's move or the first legal one.
Move AnswerMove(Engine& engine) {
  Position& pos = engine.game;
  const Move best = PlayableBestMove(engine);
  if (IsGeneratedLegalMove(pos, best)) return best;
  return FirstLegalMove(pos);
}

// "bestmove M ponder P": P is the second move of the last expected line, when
// that line begins with M (its moves were checked legal one after the other).
void PrintBestMove(Engine& engine, const UciSession& session, Move move) {
  if (move == NO_MOVE) {
    std::printf("bestmove 0000\n");
    return;
  }
  const std::string text = MoveText(move);
  std::istringstream line(session.lastIterationMoves);
  std::string first, second;
  line >> first >> second;
  if (first == text && !second.empty()) {
    std::printf("bestmove %s ponder %s\n", text.c_str(), second.c_str());
  } else {
    std::printf("bestmove %s\n", text.c_str());
  }
  EngineLog << "bestmove " << text << "\tscore: " << engine.searcher->BestScore << EndLine;
}

void AnswerWaitingSearch(Engine& engine, UciSession& session) {
  if (session.answer == Waiting::Nothing) return;
  session.answer = Waiting::Nothing;
  PrintBestMove(engine, session, AnswerMove(engine));
}

void Search(Engine& engine, UciSession& session, const GoRequest& request, u32 depth) {
  Position& pos = engine.game;
  if (!request.searchMoves.empty() && SearchOnlyMoves(engine, request.searchMoves) == 0) {
    std::printf("info string searchmoves: no legal move listed; every move is searched\n");
  }
  engine.limits.NodeLimit = request.nodes;
  session.ponderSearchRunning = request.ponder;
  StopSearch = false;
  // An analysis is made at full strength; a search on the opponent's time at the engine's level.
  const bool playing = !request.infinite && !engine.UciAnalyseMode;
  StartEngine(engine, false, static_cast<u8>(depth), SearchMode::OwnMove,
              playing);  // DepthOf gives at most UNLIMITED_DEPTH
  session.stoppedByInput = StopSearch && !TimeIsUp(*engine.searcher, pos);
  session.ponderSearchRunning = false;
  engine.limits.NodeLimit = 0;
  SearchEveryMove(engine);
}

// A clock word makes the search timed: the side to move without a clock of
// its own has none left.
void SetClock(Engine& engine, const GoRequest& request) {
  Position& pos = engine.game;
  const int side = static_cast<int>(pos.SideToMove);
  if (request.moveTimeMs > 0) {
    AllocateMoveTime(engine, request.moveTimeMs, engine.MoveOverheadMs);
  } else if (request.clockGiven) {
    AllocateClockTime(engine, std::max<i64>(request.clockMs[side], 0), static_cast<i32>(request.incrementMs[side]),
                      request.movesToGo, engine.MoveOverheadMs);
  } else {
    AllocateNoTime(engine);
  }
}

u32 DepthOf(const GoRequest& request) {
  u32 depth = UNLIMITED_DEPTH;
  if (request.depth > 0) depth = std::clamp(request.depth, SHALLOWEST_DEPTH_LIMIT, DEEPEST_ITERATION);
  if (request.mate > 0) {
    const u32 matePlies = 2 * static_cast<u32>(request.mate) + 1;
    depth = std::min(depth, std::clamp(matePlies, SHALLOWEST_DEPTH_LIMIT, DEEPEST_ITERATION));
  }
  return depth;
}

GoRequest ReadGo(std::istringstream& words) {
  GoRequest request;
  std::string word;
  auto number = [&words]() {
    long long value = 0;
    words >> value;
    return value;
  };
  bool readingMoves = false;
  while (words >> word) {
    const bool clockWord =
        word == "wtime" || word == "btime" || word == "winc" || word == "binc" || word == "movestogo";
    request.clockGiven = request.clockGiven || clockWord;
    if (word == "searchmoves") {
      readingMoves = true;
      continue;
    }
    if (word == "wtime") request.clockMs[WHITE] = std::max(0LL, number());
    else if (word == "btime") request.clockMs[BLACK] = std::max(0LL, number());
    else if (word == "winc") request.incrementMs[WHITE] = std::max(0LL, number());
    else if (word == "binc") request.incrementMs[BLACK] = std::max(0LL, number());
    else if (word == "movestogo") request.movesToGo = static_cast<i32>(std::clamp(number(), 0LL, 10000LL));
    else if (word == "movetime") request.moveTimeMs = std::max(1LL, number());
    else if (word == "depth") request.depth = static_cast<u32>(std::clamp<long long>(number(), 1, DEEPEST_ITERATION));
    else if (word == "nodes") request.nodes = static_cast<u64>(std::max(1LL, number()));
    else if (word == "mate") request.mate = static_cast<i32>(std::clamp(number(), 1LL, 63LL));
    else if (word == "infinite") request.infinite = true;
    else if (word == "ponder") request.ponder = true;
    else if (readingMoves) {
      request.searchMoves.push_back(word);
      continue;
    }
    readingMoves = false;
    if (!words) words.clear();
  }
  return request;
}

void Go(Engine& engine, UciSession& session, std::istringstream& words) {
  Position& pos = engine.game;
  AnswerWaitingSearch(engine, session);
  const GoRequest request = ReadGo(words);
  if (const Move end = GameEndOnBoard(pos); end != NO_MOVE) {
    std::printf("info depth 0 score %s\n", end == GAME_MATED ? "mate 0" : "cp 0");
    if (request.infinite || request.ponder) {
      session.answer = request.ponder ? Waiting::Ponder : Waiting::Infinite;
    } else {
      std::printf("bestmove 0000\n");
    }
    return;
  }
  const bool waitsForStop = request.infinite || request.ponder;
  // A book move is no analysis, nor one of the moves an interface listed.
  if (!waitsForStop && !engine.UciAnalyseMode && request.searchMoves.empty()) {
    if (const Move book = ChooseBookMove(engine); book != NO_MOVE) {
      std::printf("info string book move %s\n", MoveText(book).c_str());
      // Interfaces that want a line with a score for every move get one.
      std::printf("info depth 1%s score cp 0 nodes 0 time 0 pv %s\n", engine.limits.MultiPvLines > 1 ? " multipv 1" : "",
                  MoveText(book).c_str());
      session.lastIterationMoves.clear();
      PrintBestMove(engine, session, book);
      return;
    }
  }
  session.lastIterationMoves.clear();
  if (waitsForStop) {
    AllocateNoTime(engine);
  } else {
    SetClock(engine, request);
  }
  Search(engine, session, request, DepthOf(request));
  if (waitsForStop) {
    session.answer = request.ponder ? Waiting::Ponder : Waiting::Infinite;
    session.ponderRequest = request;
    return;
  }
  PrintBestMove(engine, session, AnswerMove(engine));
}

void PonderHit(Engine& engine, UciSession& session) {
  if (session.answer != Waiting::Ponder) return;
  session.answer = Waiting::Nothing;
  if (session.stoppedByInput) {  // cut short by this word: the search goes on, on the clock from now
    session.lastIterationMoves.clear();
    GoRequest request = session.ponderRequest;
    request.ponder = false;
    SetClock(engine, request);
    Search(engine, session, request, DepthOf(request));
  }
  PrintBestMove(engine, session, AnswerMove(engine));
}

void PositionCommand(Engine& engine, UciSession& session, std::istringstream& words) {
  AnswerWaitingSearch(engine, session);
  std::string word, text;
  words >> word;
  if (word == "startpos") {
    text = INITIAL_POSITION;
    words >> word;
  } else if (word == "fen") {
    while (words >> word && word != "moves") text += (text.empty() ? "" : " ") + word;
  }
  std::vector<std::string> moves;
  if (word == "moves") {
    while (words >> word) moves.push_back(word);
  }
  std::string error;
  if (text.empty()) error = "position without startpos or fen";
  if (!error.empty() || !SetUpGame(engine, text, moves, error)) {
    std::printf("info string %s; the position stays as it was\n", error.c_str());
  }
}

void Identify() {
  std::printf("id name %s %s\n", ENGINE_NAME, ENGINE_VERSION);
  std::printf("id author The Tavrel developers\n");
  PrintUciOptions();
  std::printf("uciok\n");
}

void CarryOut(Engine& engine, UciSession& session, const std::string& line) {
  Position& pos = engine.game;
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "isready") {
    std::printf("readyok\n");
  } else if (command == "quit") {
    session.quitRequested = true;
  } else if (command == "stop") {
    AnswerWaitingSearch(engine, session);
  } else if (command == "ponderhit") {
    PonderHit(engine, session);
  } else if (command == "go") {
    Go(engine, session, words);
  } else if (command == "position") {
    PositionCommand(engine, session, words);
  } else if (command == "ucinewgame") {
    AnswerWaitingSearch(engine, session);
    ForgetSearchMemory(*engine.searcher);  // a new game is searched as by a fresh engine
  } else if (command == "setoption") {
    AnswerWaitingSearch(engine, session);
    std::string rest;
    std::getline(words, rest);
    SetUciOption(engine, rest);
  } else if (command == "uci") {
    Identify();
  } else if (command == "d") {
    ShowPosition(pos);
  }
  // Anything else ("debug", "register", words no interface sends) is ignored.
}

// A line that arrives while a search runs: "isready" is answered at once and
// words that do nothing are passed over; every other command stops the search.
LineVerdict WhileSearching(const UciSession& session, const char* line, size_t length) {
  char first[COMMAND_BUFFER_SIZE];
  FirstWordOfLine(line, length, first);
  const std::string word = first;
  static const char* const STOPPING[] = {"stop", "quit", "go", "position", "ucinewgame", "setoption", "uci"};
  for (const char* stopping : STOPPING) {
    if (word == stopping) return LineVerdict::Stop;
  }
  // A "ponderhit" ends a "go ponder" search only; the search of the engine's own move goes on.
  if (word == "ponderhit" && session.ponderSearchRunning) return LineVerdict::Stop;
  EngineLog << "::cmd:: " << std::string(line, length) << EndLine;
  if (word == "isready") std::printf("readyok\n");
  return LineVerdict::Remove;
}

}  // namespace

void RunUci(Engine& engine) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  UciSession session;
  // The hooks hold the session: they are handed back as they were when it ends.
  const auto earlierInputHook = WaitingInputStopsSearch;
  const auto earlierReportHook = ReportIterationTo;
  WaitingInputStopsSearch = [&session](Position&) {
    return WalkWaitingLines([&session](const char* line, size_t length) { return WhileSearching(session, line, length); });
  };
  ReportIterationTo = [&session](const IterationReport& report) { PrintIteration(session, report); };
  engine.limits.PrintThinking = true;
  EngineLog << "::cmd:: uci" << EndLine;
  const bool bookOpened = InitEngine(engine);
  StartGame(engine, INITIAL_POSITION);
  Identify();
  if (!bookOpened) {
    std::printf("info string BOOK ERROR: %s", EngineBook.Message().Text());
    EngineLog << "BOOK ERROR: " << EngineBook.Message().Text();
  }
  std::string line;
  while (!session.quitRequested && ReadWholeLine(line)) {
    EngineLog << "::cmd:: " << line << EndLine;
    CarryOut(engine, session, line);
  }
  WaitingInputStopsSearch = earlierInputHook;
  ReportIterationTo = earlierReportHook;
}
