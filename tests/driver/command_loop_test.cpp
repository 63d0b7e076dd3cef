// The command loop over pipes, printed and logged; then the input poll and the clock and switch words in process.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <cinttypes>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/zobrist.h"
#include "driver/command_loop.h"
#include "engine/strength_level.h"
#include "engine/time_control.h"
#include "platform/console_input.h"
#include "platform/input_poll.h"
#include "support/command_feed.h"
#include "support/engine_process.h"

// In a folder without books the log begins with the book's report.
const std::string NO_BOOK_LOG = "BOOK ERROR: Cannot load file: 'bookbtm.mbx'\n", NO_BOOK_REPORT = NO_BOOK_LOG + "\n";

// The pieces of a position text from a8 to h1, '.' for an empty square.
static std::string Squares(const std::string& fen) {
  std::string squares;
  for (char c : fen.substr(0, fen.find(' '))) {
    if (c != '/') squares += std::isdigit(c) ? std::string(c - '0', '.') : std::string(1, c);
  }
  return squares;
}

static u64 KeyOfPieces(const std::string& fen) {
  u64 key = 0;
  const std::string squares = Squares(fen);
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    key ^= squares[s] == '.' ? 0 : ZobristKeys[std::string(PieceLetters).find(squares[s])][s];
  }
  return key;
}

// What "d" prints: the diagram (all that "test" prints), the position text and the key of the pieces with extraKey.
static std::string Shown(const std::string& fen, u64 extraKey = 0, bool diagramOnly = false) {
  std::string text, board = Squares(fen);
  for (int s = 0; s < SQUARE_COUNT; ++s) text += (s % 8 ? "" : "\n" + std::to_string(8 - s / 8) + " ") + board[s] + ' ';
  char key[32];
  std::snprintf(key, sizeof key, "Key: %016" PRIX64 "\n", KeyOfPieces(fen) ^ extraKey);
  return text + "\n\n  A B C D E F G H\n" + (diagramOnly ? "" : "FEN: " + fen + "\n" + key);
}

// The log line of a played move: both halves of the key in lower-case hexadecimal.
static std::string KeyLine(u64 key) {
  char line[32];
  std::snprintf(line, sizeof line, "%x %x\n", static_cast<unsigned>(key >> 32), static_cast<unsigned>(key));
  return line;
}

// Every word is answered exactly, or not at all; arguments are never read as commands.
TEST(CommandLoop, WholeRunsPrintAndLogExactly) {
  const std::string initial = Shown(INITIAL_POSITION), refused = "tellusererror Illegal position\n",
                    illegal = "Illegal move: ", afterE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6",
                    afterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", test = "8/8/5Q2/2R4k/8/8/P5P1/6K1 b - -",
                    handshake = "xboard\nprotover 2\n", noMove = "Error (no move to take back): ";
  const u64 keyAfterE4 = KeyOfPieces(afterE4) ^ ZobristKeys[0][E3];
  const u64 keyAfterE5 = KeyOfPieces(afterE5) ^ ZobristKeys[0][E6];
  std::string knights = "new\nforce\n";
  for (int cycle = 0; cycle < 1000; ++cycle) knights += "g1f3 g8f6 f3g1 f6g8\n";  // thousands of plies
  const struct { std::string input, output, logEnd; } runs[] = {
      {"quit\nbenchmark x\n", "", NO_BOOK_LOG + "::cmd:: quit\n"},
      {"easy\nhard\n", "", NO_BOOK_LOG + "::cmd:: easy\n::cmd:: hard\n"},  // the end of input ends it
      {std::string(100000, 'x') + "quit\nbenchmark 1\nquit\n", "Define __STAT\n",
       NO_BOOK_LOG + "::cmd:: " + std::string(255, 'x') +
           "\n-M: word longer than 255 characters ignored\n::cmd:: benchmark\n::cmd:: quit\n"},
      {"benchmark force\nquit\n", "Define __STAT\n", NO_BOOK_LOG + "::cmd:: benchmark\n::cmd:: quit\n"},
      {"force\nquit\n", "", "::cmd:: force\n-M: entered StopEngine\n-M: exited StopEngine\n::cmd:: quit\n"},
      {"new\nd\ndone\ndx\nD\nquit\n", initial, "::cmd:: D\n::cmd:: quit\n"},
      {"new\nforce\ne2e4\ne7e5\nd\nquit\n", Shown(afterE5, ZobristKeys[0][E6]),
       "::cmd:: e2e4\n" + KeyLine(keyAfterE4) + "::cmd:: e7e5\n" + KeyLine(keyAfterE5) + "::cmd:: d\n::cmd:: quit\n"},
      {"new\ne2e5\ne7e5\ne1e2\nd\n", illegal + "e2e5\n" + illegal + "e7e5\n" + illegal + "e1e2\n" + initial, ""},
      {"e2e4\ne1g1\nd\n", illegal + "e2e4\n" + illegal + "e1g1\n" + Shown("8/8/8/8/8/8/8/8 w - -"), ""},
      {"setboard 8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51\nd\nquit\n", Shown(test),
       "::cmd:: setboard\nsetboard  8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51\n\n::cmd:: d\n::cmd:: quit\n"},
      // An empty board (an interface's way to stop an analysis) is refused without a word on stdout.
      {"new\nsetboard 8/8/8/8/8/8/8/8 w - -\nd\nsetboard rnbqkbnr w\nd\nquit\n", initial + refused + initial,
       "setboard  rnbqkbnr w\n\n-M: tellusererror Illegal position\n::cmd:: d\n::cmd:: quit\n"},
      // At most 254 characters of a line are read; the rest is discarded.
      {"setboard 4k3/8/8/8/8/8/8/4K2R w K - " + std::string(226, 'x') + " d d\nd\nquit\n",
       Shown("4k3/8/8/8/8/8/8/4K2R w K -"), "::cmd:: d\n::cmd:: quit\n"},
      {knights + "d\n", initial, ""},
      // A side switch that lets the new side take the king is refused; one that changes the side drops the en-passant
      // square with its key: d2 may not take its own pawn on e3.
      {"test\nnopost\nwhite\nd\ngo\n", Shown(test, 0, true) + refused + Shown(test) + "move h5g4\n", ""},
      {"new\nforce\ne2e4\nwhite\nd\nd2e3\nd\nblack\nd\nquit\n",
       Shown(afterE4 + " w KQkq -") + illegal + "d2e3\n" + Shown(afterE4 + " w KQkq -") + Shown(afterE4 + " b KQkq -"),
       ""},
      // An empty board is as drawn as bare kings; a7 is worked out with the pawn rules; only the exact word counts.
      {"eval\nevalx\nsetboard 7k/P7/8/8/8/8/8/K7 w - -\neval\nsetboard 7k/P7/8/8/8/8/8/K7 b - -\neval\nquit\n",
       "Eval: 0\nEval: 246\nEval: -246\n", ""},
      {handshake + "ping 7\n", "pong 7\n", ""},  // no reply to the features needed before it
      {handshake + "new\nforce\nundo\ne2e4\nremove\nundo\nundo\n",
       noMove + "undo\n" + noMove + "remove\n" + noMove + "undo\n", ""},
      {handshake + "new\nbk\n", "\n", ""},  // no book: no moves, then the empty line
      {handshake + "new\nname gopher go\nrating 2000 1800\nresult 1-0 {gopher go}\nping 3\n", "pong 3\n", ""},
      {handshake + "accepted done\nrejected usermove\nprotover 2\nics -\nvariant normal\nping 4\n", "pong 4\n", ""},
      {handshake + "new\nforce\nusermove e2e4\nusermove e2e5\n", illegal + "e2e5\n", ""},
      {handshake + "new\nforce\nsd 1\nst 0.5\nmemory 64\noption OwnBook=0\npost\nnopost\nhard\neasy\ncomputer\nrandom\n"
                   "otim 100\n.\n?\nexit\ndraw\nping 5\n",
       "pong 5\n", ""},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.input.substr(0, 60));
    EngineRun result = RunEngine(run.input);
    EXPECT_EQ(std::tuple(result.exitCode, result.errors, result.output), std::tuple(0, "", run.output));
    EXPECT_TRUE(result.log.ends_with(run.logEnd)) << result.log.substr(0, 2000);
  }
}

// The handshake waits for no reply: "protover", "accepted" and "rejected" reach the loop, which reads each with its
// argument; another greeting is reported and the start-up carried out. The log is rewritten at every start and may be
// missing.
TEST(CommandLoop, HandshakeLinesTheWordsItReadsAndTheLog) {
  const std::string features =
      "\nfeature done=0\nfeature setboard=1\nfeature myname=\"Tavrel 1.1\"\nfeature ping=1\nfeature analyze=1\n"
      "feature sigint=0\nfeature colors=0\nfeature playother=1\nfeature usermove=0\nfeature variants=\"normal\"\n"
      "feature san=0\n"
      "feature smp=1\n"
      "feature time=1\nfeature draw=0\nfeature reuse=1\nfeature memory=1\nfeature nps=1\nfeature option=\"OwnBook "
      "-check 1\"\n"
      "feature option=\"BookFolder -path .\"\nfeature option=\"BookFile -file \"\n"
      "feature option=\"Search -combo Classic /// Modern\"\nfeature option=\"MultiPV -spin 1 1 8\"\n"
      "feature option=\"Skill Level -spin 20 0 20\"\nfeature option=\"UCI_LimitStrength -check 0\"\n"
      "feature option=\"UCI_Elo -spin " +
      std::to_string(MAX_LIMIT_ELO) + " " + std::to_string(MIN_LIMIT_ELO) + " " + std::to_string(MAX_LIMIT_ELO) +
      "\"\nfeature done=1\n";
  TempDir dir;
  EngineRun run = RunEngine("xboard\nprotover 2\naccepted done\nrejected san\nquit\n", dir.Path());
  EXPECT_EQ(run.startup, features + NO_BOOK_REPORT);
  EXPECT_EQ(run.log, NO_BOOK_LOG + "::cmd:: protover\n-M: arguments: 2\n::cmd:: accepted\n-M: arguments: done\n"
                                   "::cmd:: rejected\n-M: arguments: san\n::cmd:: quit\n");
  run = RunEngine("benchmark x\nquit\n", dir.Path());
  EXPECT_EQ(run.startup, "Engine works only with xboard protocol ver. 2\n" + features + NO_BOOK_REPORT);
  EXPECT_EQ(run.log, NO_BOOK_LOG + "::cmd:: benchmark\n::cmd:: quit\n");
  std::filesystem::remove(dir.File("Tavrel.log"));
  ASSERT_TRUE(std::filesystem::create_directory(dir.File("Tavrel.log")));  // a folder where the file should be
  run = RunEngine("benchmark 0\nquit\n", dir.Path());
  EXPECT_EQ(std::tuple(run.exitCode, run.output), std::tuple(0, "Define __STAT\n"));
}

// SIGTERM ends the engine whether it waits for a word or thinks on a long clock.
TEST(CommandLoop, TerminationEndsTheEngine) {
  for (const char* input : {"", "setboard r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -\n"
                                "level 1 600 0\ntime 60000\notim 60000\npost\ngo\n"}) {
    EngineProcess engine;
    engine.Send(std::string("xboard\nprotover 2\naccepted done\naccepted setboard\naccepted done\n") + input);
    ASSERT_TRUE(engine.ReadUntil(*input ? "    2 " : "feature done=1")) << input;  // thinking from depth 2 on
    engine.Terminate();
    EXPECT_EQ(engine.Wait(), 128 + SIGTERM) << input;
  }
}

TEST(TimeAllocation, BudgetsWorkedByHand) {
  const struct { i64 clockCs; i32 perControl, incrementMs; u32 movesMade; i32 toGo; i64 budgetMs; } cases[] = {
      {30000, 40, 0, 0, 40, 6500},      // a share of 750 less 100
      {6000, 0, 0, 0, 33, 1810},        // the whole game: 181 is below 220 and kept whole
      {1000, 40, 0, 39, 1, 8100},       // the 40th move: one to go keeps a tenth
      {5000, 40, 2000, 20, 20, 4000},   // 250 less 50, and the increment
      {500, 1, 0, 0, 1, 3600}, {499, 1, 0, 0, 1, 4041}, {220, 1, 0, 0, 1, 1530}, {219, 1, 0, 0, 1, 1971},
      {999999999, 1, 0, 0, 1, 8999999091},  // "test": beyond 32 bits
  };
  for (const auto& c : cases) {
    TimeAllocation a = ComputeTimeAllocation(c.clockCs, c.perControl, c.incrementMs, c.movesMade);
    EXPECT_EQ(std::tuple(a.movesToGo, a.budgetMs), std::tuple(c.toGo, c.budgetMs)) << c.clockCs;
  }
}

// The moves a side has made as xboard counts them for its controls (seen in its debug log at 10 moves in 6 s from a
// position with black to move: black gets its time after its 10th move, white after its 9th, the 10th of the game).
TEST(TimeAllocation, MovesAreCountedAsTheInterfaceCountsThem) {
  Engine engine;
  Position& pos = engine.game;
  const struct { u16 gameMoveCount; u32 sideToMove; u32 movesMade; } cases[] = {
      {1, WHITE, 0}, {2, BLACK, 0}, {79, WHITE, 39}, {80, BLACK, 39},  // from the initial position
      {1, BLACK, 0}, {2, WHITE, 1}, {18, WHITE, 9}, {19, BLACK, 9},    // from a position with black to move
  };
  for (const auto& c : cases) {
    std::tie(pos.GameMoveCount, pos.GameSideToMove) = std::tuple(c.gameMoveCount, c.sideToMove);
    EXPECT_EQ(MovesMadeInGame(pos), c.movesMade) << c.gameMoveCount << " " << c.sideToMove;
  }
}

// No budget exceeds what the clock can pay less its reserve (a tenth, 100 ms at least), nor three fair shares of a
// control when the control is known.
TEST(TimeAllocation, BudgetsNeverOutrunTheClock) {
  const struct { i64 budgetMs, clockMs, fairShareMs, safeBudgetMs, hardLimitMs; } cases[] = {
      {6500, 300000, 0, 6500, 270000},         // far inside the clock: untouched
      {2030, 1000, 0, 900, 900},               // 1.00 s left with a 2 s increment
      {3060, 2000, 0, 1800, 1800},             // 2 s + 3 s, the first move
      {441, 490, 0, 390, 390},                 // UCI's last move before the control: 9 tenths less the reserve
      {18000, 20000, 500, 1500, 18000},        // one move "to go" on a fresh control of 40 in 20 s
      {300, 30, 0, 5, 5},                      // a clock nearly gone still gives the search a moment
  };
  for (const auto& c : cases) {
    const TimeLimits limits = SafeTimeLimits(c.budgetMs, c.clockMs, c.fairShareMs);
    EXPECT_EQ(std::tuple(limits.budgetMs, limits.hardLimitMs), std::tuple(c.safeBudgetMs, c.hardLimitMs))
        << c.budgetMs << " of " << c.clockMs;
  }
}

TEST(CommandLoop, ClockAndSwitchWords) {
  Engine engine;
  Position& pos = engine.game;
  InitBoardTables();
  RunCommands(engine, "new\nlevel 40 5 0\ntime 30000\notim 29000\n");
  EXPECT_EQ(std::tuple(engine.MovesPerControl, engine.IncrementMs, engine.limits.TimeBudgetMs), std::tuple(40, 0, 6500));
  RunCommands(engine, "level 0 2 12\n");
  EXPECT_EQ(std::tuple(engine.MovesPerControl, engine.IncrementMs), std::tuple(0, 12000));
  RunCommands(engine, "level 99999999999 0 0\n");
  EXPECT_EQ(engine.MovesPerControl, 2147483647);  // clamped
  RunCommands(engine, "level 0 0 99999999999\nlevel 0 0 2147484\n");  // an increment beyond what milliseconds hold
  EXPECT_EQ(engine.IncrementMs, 2147483000);
  RunCommands(engine, "level 40 0:30 2\n");  // the base is a word, not read
  EXPECT_EQ(std::tuple(engine.MovesPerControl, engine.IncrementMs), std::tuple(40, 2000));
  // A missing number changes nothing and swallows no command.
  engine.limits.TimeBudgetMs = 1234;
  engine.State = ENGINE_PLAYING;
  RunCommands(engine, "level force\ntime easy\n");
  EXPECT_EQ(std::tuple(engine.IncrementMs, engine.limits.TimeBudgetMs, engine.State, engine.PonderEnabled), std::tuple(2000, 1234, 0, false));
  RunCommands(engine, "time 6000 hard\neasyX\nblack\n");  // "easy" is an exact word
  EXPECT_EQ(std::tuple(engine.limits.TimeBudgetMs, engine.PonderEnabled, pos.SideToMove, pos.GameSideToMove),
            std::tuple(1500 + 2000, true, 0, 0));
  RunCommands(engine, "whiteX\n");  // "white" is a prefix
  EXPECT_EQ(std::tuple(pos.SideToMove, pos.GameSideToMove), std::tuple(1, 1));
  engine.State = ENGINE_THINKING;  // no move is played while the engine thinks
  EXPECT_EQ(RunCommandsCapturingOutput(engine, "e2e4\n"), "");
  engine.State = ENGINE_FORCE;
  EXPECT_EQ(pos.GameMoveCount, 1);
  RunCommands(engine, "e2e4\n");
  EXPECT_EQ(pos.GameMoveCount, 2);
}

static std::string Word() {
  char buffer[COMMAND_BUFFER_SIZE] = {};
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::Read);
  return buffer;
}

TEST(ConsoleInput, PendingInputCountsWhatTheLoopHasNotRead) {
  InputPipe input;
  EXPECT_EQ(InputPending(), 0u);
  input.Write("e7e5\n");
  EXPECT_EQ(InputPending(), 5u);
  EXPECT_EQ(InputPending(), 5u);  // asking reads nothing
  input.Write("go\n");
  EXPECT_EQ(Word(), "e7e5");  // the reader took all eight bytes from the pipe
  EXPECT_EQ(InputPending(), 4u);
  i32 number = 0;
  EXPECT_FALSE(ReadNumber(number));  // a word given back still waits
  EXPECT_NE(InputPending(), 0u);
  EXPECT_EQ(Word(), "go");
  EXPECT_EQ(InputPending(), 0u);  // the line end after the last word is no input
  input.Write("quit\n");
  input.CloseWriter();
  EXPECT_EQ(InputPending(), 5u);
  EXPECT_EQ(Word(), "quit");
  EXPECT_NE(InputPending(), 0u);  // the end of input
  int file = open("/dev/null", O_RDONLY);  // standard input may be a file: never blocking
  SetInputDescriptor(file);
  EXPECT_NE(InputPending(), 0u);
  close(file);
}
