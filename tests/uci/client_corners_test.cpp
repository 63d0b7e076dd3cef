// Corners of UCI that real clients reach: the move played against the line shown, clocks that leave the side to move
// without time, searchmoves, a ponderhit outside pondering, the half-move clock of a FEN, a book move's info line (and
// when the book is left alone), the move overhead and the tournament manager's compliance check.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/engine_process.h"
#include "support/line_words.h"
#include "support/move_probe.h"

using namespace std::chrono;

// Every "bestmove M [ponder P]" of output against the last line of moves shown before it in the same search: M is its
// first move, P its second when it has one.
static void ExpectBestMovesFollowTheirLines(const std::string& output) {
  std::istringstream lines(output);
  std::vector<std::string> pv;
  int answers = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("info ") && !PvOf(line).empty()) pv = PvOf(line);
    if (!line.starts_with("bestmove ")) continue;
    ++answers;
    const std::vector<std::string> words = Words(line);
    if (!pv.empty()) {
      EXPECT_EQ(words.at(1), pv[0]) << line;
      EXPECT_EQ(ValueOf(line, "ponder"), pv.size() > 1 ? pv[1] : "") << line;
    }
    pv.clear();
  }
  EXPECT_GE(answers, 2) << output;
}

// A search cut short (by nodes, time or "stop") leaves the table half-filled; the next search of the position still
// plays the first move of the line it showed, and ponders on the second.
TEST(UciCorners, TheMovePlayedIsTheFirstOfTheLastLineShown) {
  const struct { const char* position; const char* cutShort; } cases[] = {
      {"position startpos\n", "go nodes 150000\n"},
      {"position startpos\n", "go movetime 300\n"},
      {"position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4\n", "go nodes 80000\n"},
      {"position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4\n", "go infinite\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.position) + c.cutShort);
    EngineProcess engine;
    std::string output;
    auto answer = [&](const std::string& text, const std::string& until) {
      engine.Send(text);
      auto lines = engine.ReadUntil(until);
      ASSERT_TRUE(lines) << text;
      for (const std::string& line : *lines) output += line + "\n";
    };
    engine.Send("uci\nsetoption name OwnBook value false\n");
    answer(std::string(c.position) + c.cutShort, "info depth 6 ");
    answer("stop\n", "bestmove ");
    for (const char* go : {"go depth 3\n", "go depth 2\n", "go depth 5\n"}) answer(std::string(c.position) + go, "bestmove ");
    ExpectBestMovesFollowTheirLines(output);
  }
}

// Once a "go" carries a clock word the search is timed: a side to move without a clock of its own has none left, and
// the engine answers by itself.
TEST(UciCorners, AClockWordMakesTheSearchTimedEvenWithoutTheMoversClock) {
  Position pos;
  const char* gos[] = {"go wtime 10000", "go wtime 10000 winc 500", "go binc 100", "go movestogo 20",
                       "go btime 0", "go wtime 5000 btime 5000 movestogo 1"};
  for (const char* go : gos) {
    SCOPED_TRACE(go);
    EngineProcess engine;
    engine.Send(std::string("uci\nposition startpos moves e2e4\n") + go + "\n");
    auto lines = engine.ReadUntil("bestmove ", seconds(5));
    ASSERT_TRUE(lines);
    EXPECT_TRUE(LegalAfter(pos, INITIAL_POSITION, "e2e4", Words(lines->back()).at(1))) << lines->back();
  }
}

// "searchmoves" leaves only the listed legal moves to choose among; words that are no legal move are passed over, and
// a list without any searches every move.
TEST(UciCorners, SearchMovesAreTheOnlyMovesSearched) {
  Position pos;
  const struct { const char* before; const char* list; std::vector<std::string> allowed; } cases[] = {
      {"", "a2a3 h2h3", {"a2a3", "h2h3"}},
      {"go depth 6\n", "a2a3 h2h3", {"a2a3", "h2h3"}},  // the table has learnt the position first
      {"", "e2e5 zz a2a3 g1f3q b1c3", {"a2a3", "b1c3"}},
      {"", "g1h3", {"g1h3"}},
      {"", "e2e5 e7e5", {}},  // nothing legal: every move
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    EngineProcess engine;
    engine.Send(std::string("uci\nsetoption name OwnBook value false\nposition startpos\n") + c.before);
    if (*c.before) {
      ASSERT_TRUE(engine.ReadUntil("bestmove "));
    }
    engine.Send(std::string("go depth 5 searchmoves ") + c.list + "\n");
    auto lines = engine.ReadUntil("bestmove ");
    ASSERT_TRUE(lines);
    const std::string best = Words(lines->back()).at(1);
    for (const std::string& line : *lines) {
      if (PvOf(line).empty()) continue;
      const std::string first = PvOf(line)[0];
      if (!c.allowed.empty()) {
        EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), first), c.allowed.end()) << line;
      }
    }
    if (c.allowed.empty()) {
      const std::string refused = "info string searchmoves: no legal move listed; every move is searched";
      EXPECT_NE(std::find(lines->begin(), lines->end(), refused), lines->end());
      EXPECT_TRUE(LegalAfter(pos, INITIAL_POSITION, "", best)) << best;
    } else {
      EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), best), c.allowed.end()) << best;
    }
  }
  // The restriction lasts for its own "go" only.
  const std::string output =
      RunEngine("uci\nsetoption name OwnBook value false\nposition startpos\ngo depth 4 searchmoves h2h4\n"
                "go depth 4\n").output;
  EXPECT_NE(output.find("bestmove h2h4"), std::string::npos) << output;
  EXPECT_EQ(Count(output, "bestmove h2h4"), 1) << output;
}

// Outside pondering a "ponderhit" is ignored: the search of the engine's own move takes its time.
TEST(UciCorners, APonderhitDuringTheEnginesOwnSearchChangesNothing) {
  EngineProcess engine;
  engine.Send("uci\nsetoption name OwnBook value false\nposition startpos\n");
  const auto start = steady_clock::now();
  engine.Send("go movetime 1000\n");
  usleep(300000);
  engine.Send("ponderhit\n");
  ASSERT_TRUE(engine.ReadUntil("bestmove "));
  const auto ms = duration_cast<milliseconds>(steady_clock::now() - start).count();
  EXPECT_GE(ms, 800);
  EXPECT_LT(ms, 3000);
}

// The half-move clock of a FEN counts toward the fifty-move rule: one move before it every quiet move draws, while a
// capture or a pawn move starts the count again; an EPD line without the field counts from 0.
TEST(UciCorners, TheHalfMoveClockOfAFenIsRead) {
  const struct { const char* fen; bool drawn; } cases[] = {
      {"8/8/8/4k3/8/8/8/R3K3 w - - 99 80", true},
      {"8/8/8/4k3/8/8/8/R3K3 w - - 0 80", false},
      {"8/8/8/4k3/8/8/8/R3K3 w - -", false},
      {"8/8/8/4k3/8/8/r7/R3K3 w - - 99 80", false},  // Rxa2 resets the count
      {"8/8/8/4k3/8/8/P7/R3K3 w - - 99 80", false},  // so does a pawn move
  };
  for (const auto& c : cases) {
    const std::string output = RunEngine(std::string("uci\nposition fen ") + c.fen + "\ngo depth 6\n").output;
    const size_t last = output.rfind("info depth 6 ");
    ASSERT_NE(last, std::string::npos) << output;
    const std::string line = output.substr(last, output.find('\n', last) - last);
    const bool drawn = ValueOf(line, "cp") == "0";
    EXPECT_EQ(drawn, c.drawn) << c.fen << "\n" << line;
  }
}

// A move from the book comes with an info line that carries a score, as tournament managers ask of every move.
TEST(UciCorners, ABookMoveHasAnInfoLineWithAScore) {
#ifndef TAVREL_DEFAULT_BOOK_DIR
  GTEST_SKIP() << "the build made no default book (xz missing)";
#else
  const std::string output = RunEngine("uci\nposition startpos\ngo btime 100\n", "", TAVREL_BINARY).output;
  EXPECT_NE(output.find("info string book move "), std::string::npos) << output;
  const size_t info = output.find("info depth ");
  ASSERT_NE(info, std::string::npos) << output;
  const std::string line = output.substr(info, output.find('\n', info) - info);
  EXPECT_NE(line.find(" score cp "), std::string::npos) << line;
  EXPECT_EQ(PvOf(line).at(0), Words(output.substr(output.find("bestmove "))).at(1)) << output;
  // Neither a list of moves to search nor analysis takes a move from the book.
  for (const char* notFromBook : {"go depth 3 searchmoves h2h3\n", "setoption name UCI_AnalyseMode value true\ngo depth 3\n"}) {
    const std::string searched =
        RunEngine(std::string("uci\nposition startpos\n") + notFromBook, "", TAVREL_BINARY).output;
    EXPECT_EQ(Count(searched, "book move"), 0) << searched;
    EXPECT_NE(searched.find("info depth 3 "), std::string::npos) << searched;
  }
#endif
}

// "Move Overhead" comes off the time of each move; values outside its range are refused.
TEST(UciCorners, MoveOverheadIsTakenOffEachMove) {
  const std::string refused = RunEngine(
      "uci\nsetoption name Move Overhead value -1\nsetoption name Move Overhead value 5001\n"
      "setoption name move overhead value 12x\nsetoption name Move Overhead value 700\nisready\n").output;
  EXPECT_EQ(Count(refused, "value not taken"), 3) << refused;
  // A move of 2 s with 1.5 s lost on the way leaves half a second to think.
  for (const auto& [overhead, atLeast, below] : {std::tuple(0, 1800, 6000), std::tuple(1500, 0, 1500)}) {
    EngineProcess engine;
    engine.Send("uci\nsetoption name OwnBook value false\nsetoption name Move Overhead value " +
                std::to_string(overhead) + "\nposition startpos\nisready\n");
    ASSERT_TRUE(engine.ReadUntil("readyok"));
    const auto start = steady_clock::now();
    engine.Send("go movetime 2000\n");
    ASSERT_TRUE(engine.ReadUntil("bestmove "));
    const auto ms = duration_cast<milliseconds>(steady_clock::now() - start).count();
    EXPECT_GE(ms, atLeast) << overhead;
    EXPECT_LT(ms, below) << overhead;
  }
}

// The tournament manager's UCI compliance check, with the default book on, when the manager is installed.
TEST(UciCorners, TheTournamentManagersComplianceCheckPasses) {
  std::string manager = std::getenv("FASTCHESS") ? std::getenv("FASTCHESS") : "";
  if (manager.empty() && std::system("command -v fastchess >/dev/null 2>&1") == 0) manager = "fastchess";
  if (manager.empty()) GTEST_SKIP() << "fastchess is not installed (on PATH or named by FASTCHESS)";
  const std::string command = manager + " --compliance " + TAVREL_BINARY + " > compliance.txt 2>&1";
  const int status = std::system(command.c_str());
  const std::string report = ReadFile("compliance.txt");
  EXPECT_EQ(status, 0) << report;
  EXPECT_EQ(Count(report, "Failed"), 0) << report;
  std::filesystem::remove("compliance.txt");
}

// After "ucinewgame" a search is the search of a fresh engine: the same lines, move for move, node for node.
TEST(UciCorners, ANewGameIsSearchedAsByAFreshEngine) {
  const std::string game = "position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6\ngo depth 7\n";
  auto searched = [](const std::string& output) {
    std::string lines;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
      if (line.starts_with("info depth ")) lines += ValueOf(line, "depth") + " " + ValueOf(line, "nodes") + " " +
                                                    line.substr(line.find(" pv ")) + "\n";
    }
    return lines;
  };
  const std::string fresh = searched(RunEngine("uci\nsetoption name OwnBook value false\n" + game).output);
  // The same game searched before: a game that goes on keeps what the search learnt, a new one forgets it.
  const std::string after = searched(RunEngine("uci\nsetoption name OwnBook value false\n" + game + "ucinewgame\n" +
                                               game).output);
  ASSERT_FALSE(fresh.empty());
  EXPECT_EQ(after.substr(after.size() - fresh.size()), fresh);
}
