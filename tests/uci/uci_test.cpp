// The UCI front end over pipes: handshake, positions against the xboard path, every "go", pondering, options, mates.

#include "engine/strength_level.h"
#include "support/engine_process.h"
#include "support/move_probe.h"

// The "FEN: " and "Key: " lines that "d" printed last.
static std::string ShownPosition(const std::string& output) {
  const size_t fen = output.rfind("FEN: ");
  return fen == std::string::npos ? "" : output.substr(fen, output.find('\n', output.find("Key: ", fen)) - fen);
}

const std::string MIDGAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9";

TEST(Uci, HandshakeIsExact) {
  EngineRun run = RunEngine("uci\nisready\nquit\n");
  EXPECT_EQ(run.output,
            "id name Tavrel 1.1\nid author The Tavrel developers\n"
            "option name Hash type spin default 18 min 1 max 4096\n"
            "option name Threads type spin default 1 min 1 max 64\n"
            "option name Ponder type check default false\n"
            "option name OwnBook type check default true\n"
            "option name BookFolder type string default <empty>\n"
            "option name BookFile type string default <empty>\n"
            "option name Clear Hash type button\n"
            "option name Search type combo default Classic var Classic var Modern\n"
            "option name Move Overhead type spin default 10 min 0 max 5000\n"
            "option name UCI_AnalyseMode type check default false\n"
            "option name MultiPV type spin default 1 min 1 max 8\n"
            "option name Skill Level type spin default 20 min 0 max 20\n"
            "option name UCI_LimitStrength type check default false\n"
            "option name UCI_Elo type spin default " +
                std::to_string(MAX_LIMIT_ELO) + " min " + std::to_string(MIN_LIMIT_ELO) + " max " +
                std::to_string(MAX_LIMIT_ELO) +
                "\nuciok\n"
                "info string BOOK ERROR: Cannot load file: 'bookbtm.mbx'\nreadyok\n");
  EXPECT_EQ(std::tuple(run.exitCode, run.errors), std::tuple(0, ""));
  // Any other first word keeps the xboard front end and its message.
  EXPECT_TRUE(RunEngine("isready\nquit\n").startup.starts_with("Engine works only with xboard protocol ver. 2\n"));
}

// Moves of every kind reach the same board through "position" as through the xboard path; a refused position or move
// leaves the board as it was.
TEST(Uci, PositionsAreThoseOfTheXboardPath) {
  const struct { std::string fen, moves; } games[] = {
      {"r3k2r/pppq1ppp/2n2n2/3pp3/1b1PP1b1/2N2N2/PPPQ1PPP/R3KB1R w KQkq - 0 1", "e1c1 e8g8 d4e5 d5e4"},  // both ways
      {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3", "e5f6 g7f6 d2d4 f6f5"},  // en passant
      {"8/P5k1/8/8/8/8/1p4K1/8 w - - 0 1", "a7a8q b2b1n a8b8 b1d2"},                                // promotions
      {INITIAL_POSITION, "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6 b1c3 a7a6"},
  };
  for (const auto& game : games) {
    std::string xboardMoves;
    for (char c : game.moves) xboardMoves += c == ' ' ? '\n' : c;
    const std::string uci = RunEngine("uci\nposition fen " + game.fen + " moves " + game.moves + "\nd\nquit\n").output;
    const std::string xboard = RunEngine("new\nsetboard " + game.fen + "\nforce\n" + xboardMoves + "\nd\nquit\n").output;
    EXPECT_FALSE(ShownPosition(uci).empty()) << uci;
    EXPECT_EQ(ShownPosition(uci), ShownPosition(xboard)) << game.moves;
  }
  const std::string afterE4 = ShownPosition(RunEngine("uci\nposition startpos moves e2e4\nd\n").output);
  for (const char* bad : {"position startpos moves e2e4 e7e4\n", "position startpos moves e2e4 e7e5q\n",
                                 "position fen 8/8/8/8/8/8/8/8 w - -\n", "position fen rnbqkbnr w\n", "position\n"}) {
    const std::string output = RunEngine(std::string("uci\nposition startpos moves e2e4\n") + bad + "d\n").output;
    EXPECT_EQ(ShownPosition(output), afterE4) << bad;
    EXPECT_EQ(Count(output, "info string "), 2) << output;  // the book's report, then the refusal
  }
}

// Each "go" ends with exactly one "bestmove", and its move is legal, "stop" straight after "go" included; a mated
// position answers "bestmove 0000".
TEST(Uci, EveryGoEndsWithOneBestMove) {
  Position pos;
  const struct { std::string fen, go, then; } cases[] = {
      {MIDGAME, "go depth 4", ""},
      {MIDGAME, "go nodes 20000", ""},
      {MIDGAME, "go movetime 150", ""},
      {MIDGAME, "go wtime 2000 btime 2000 winc 100 binc 100", ""},
      {MIDGAME, "go wtime 3000 btime 3000 movestogo 1", ""},
      {MIDGAME, "go infinite", "stop\n"},
      {MIDGAME, "go infinite\nstop", ""},
      {MIDGAME, "go ponder wtime 2000 btime 2000", "stop\n"},
      {MIDGAME, "go ponder wtime 2000 btime 2000", "ponderhit\n"},
      {MIDGAME, "go infinite", "isready\nstop\n"},
      {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "go depth 3", ""},
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "go infinite", "stop\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.go + " " + c.then);
    EngineProcess engine;
    engine.Send("uci\nposition fen " + c.fen + "\n" + c.go + "\n");
    if (!c.then.empty()) {
      // Waiting for "stop" or "ponderhit": nothing before them ends the search.
      ASSERT_TRUE(engine.ReadUntil("info depth "));
      usleep(100000);
      engine.Send("isready\n");
      auto before = engine.ReadUntil("readyok");
      ASSERT_TRUE(before);
      for (const std::string& line : *before) EXPECT_FALSE(line.starts_with("bestmove")) << line;
      engine.Send(c.then);
    }
    auto lines = engine.ReadUntil("bestmove ");
    ASSERT_TRUE(lines);
    engine.Send("isready\nquit\n");
    const std::string rest = engine.ReadToEnd();
    EXPECT_EQ(Count(rest, "bestmove"), 0) << rest;
    std::istringstream words(lines->back());
    std::string bestmove, move, label, ponder;
    words >> bestmove >> move >> label >> ponder;
    if (c.fen.starts_with("7k/")) {
      EXPECT_EQ(move, "0000");
    } else {  // the ponder move, when given (always at a fixed depth), is legal after the move
      EXPECT_TRUE(LegalAfter(pos, c.fen, "", move)) << lines->back();
      EXPECT_TRUE(label == "ponder" ? LegalAfter(pos, c.fen, move, ponder) : c.go != "go depth 4") << lines->back();
    }
  }
}

// Mate scores count moves, negative when mated.
TEST(Uci, MateScores) {
  const struct { std::string fen, score; } mates[] = {
      {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", "score mate 1 "},
      {"3r3k/6pp/7N/8/2Q5/8/6PP/6K1 w - - 0 1", "score mate 2 "},
      {"7k/8/6KQ/8/8/8/8/8 b - - 0 1", "score mate -1 "},  // Kg8, Qh7 mate
  };
  for (const auto& mate : mates) {
    const std::string output = RunEngine("uci\nposition fen " + mate.fen + "\ngo depth 4\n").output;
    EXPECT_NE(output.find(mate.score), std::string::npos) << output;
  }
}

// Options: the table's size, the book switch, and names in any case.
TEST(Uci, OptionsAreTakenOrReported) {
  const std::string output = RunEngine(
      "uci\nsetoption name hash value 64\nsetoption name Hash value 0\nsetoption name OwnBook value false\n"
      "setoption name Clear Hash\nsetoption name Nonsense value 1\nisready\n").output;
  EXPECT_EQ(Count(output, "info string "), 3) << output;  // the book, Hash 0, Nonsense
  EXPECT_NE(output.find("info string option Hash: value not taken: 0\n"), std::string::npos) << output;
  EXPECT_NE(output.find("info string no such option: Nonsense\n"), std::string::npos) << output;
}
