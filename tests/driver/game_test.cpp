// Games: moves and pondering in process, then over pipes the claims and a whole game as xboard plays it.

#include <cinttypes>
#include <fstream>

#include "board/history_room.h"
#include "board/move_validity.h"
#include "board/position_text.h"
#include "driver/command_loop.h"
#include "engine/game.h"
#include "driver/pondering.h"
#include "engine/time_control.h"
#include "driver/xboard.h"
#include "engine/engine_setup.h"
#include "search/think.h"
#include "search/trans_table.h"
#include "support/command_feed.h"
#include "support/engine_process.h"
#include "support/move_probe.h"
#include "support/position_snapshot.h"

class GameTest : public testing::Test {
 protected:
  Engine engine;
  Position& pos = engine.game;  // the position under test
  static void SetUpTestSuite() { InitBoardTables(); }
  void SetUp() override { ASSERT_TRUE(LoadPosition(engine, INITIAL_POSITION)); }
  void Play(Position& pos, const std::string& text) {
    ASSERT_TRUE(IsLegalMove(pos, ParseGameMove(pos, text.c_str()))) << text;
    ASSERT_TRUE(PlayGameMove(engine, ParseGameMove(pos, text.c_str())));
  }
};

// Knights out and home again with pawn moves now and then, then knights alone far past the fifty-move count: thousands
// of plies, more than History holds.
TEST_F(GameTest, ALongGameKeepsTheHistoryItNeedsWithinBounds) {
  PositionSnapshot start = TakePositionSnapshot(pos);
  EXPECT_FALSE(PlayGameMove(engine, NO_MOVE));
  EXPECT_EQ(Differences(start, TakePositionSnapshot(pos)), "");
  std::string game;
  for (const char* pawns : {"a2a3 a7a6", "a3a4 a6a5", "b2b3 b7b6", "b3b4 b6b5", "c2c3 c7c6", "c3c4 c6c5",
                            "d2d3 d7d6", "d3d4 d6d5", "e2e3 e7e6", "e3e4 e6e5", "g2g3 g7g6", "h2h3 h7h6", ""}) {
    for (int cycle = 0; cycle < (*pawns ? 23 : 800); ++cycle) game += " g1f3 g8f6 f3g1 f6g8";
    game += std::string(" ") + pawns;
  }
  std::vector<HistoryEntry> whole{*pos.HistoryTop};  // every entry of the game, never slid down
  std::istringstream words(game);
  for (std::string text; words >> text;) {
    whole.back().move = ParseGameMove(pos, text.c_str());
    Play(pos, text);
    whole.push_back({pos.HashKey, NO_MOVE, pos.HistoryTop->fifty});
    ASSERT_LT(pos.HistoryTop - pos.History, HISTORY_SIZE - SEARCH_LINE_ROOM);
    // The draw tests look back to the last capture or pawn move, a hundred plies at most.
    long kept = pos.HistoryTop - pos.History + 1;
    ASSERT_GT(kept, std::min<long>(pos.HistoryTop->fifty, 100)) << whole.size();
    for (long back = 0; back < kept; ++back) {
      const HistoryEntry &entry = pos.HistoryTop[-back], &truth = whole[whole.size() - 1 - back];
      ASSERT_TRUE(entry.key == truth.key && entry.fifty == truth.fifty && (back == 0 || entry.move == truth.move))
          << "ply " << whole.size() << ", " << back << " back";
    }
  }
  EXPECT_GT(whole.size(), 4u * HISTORY_SIZE);
  EXPECT_EQ(pos.HistoryTop->fifty, 3200);
}

// After 1.e4 the engine, to answer for black, ponders on e5. The input pipe holds a word that stops searches ("move
// now"), so that every search stops at its first look at the input and no pondering follows a move.
class PonderingTest : public GameTest {
 protected:
  void SetUp() override {
    input_.Write("?\n");
    std::tie(engine.limits.PrintThinking, engine.limits.TimeBudgetMs) = std::tuple(false, 30);
    Restart(pos);
  }
  void Restart(Position& pos) {
    ASSERT_TRUE(LoadPosition(engine, INITIAL_POSITION));
    Play(pos, "e2e4");
    engine.State = ENGINE_PLAYING;
    StartPondering(engine, guess_ = ParseGameMove(pos, "e7e5"));
  }
  void TearDown() override {
    std::tie(engine.limits.PrintThinking, engine.PonderMove, engine.State) = std::tuple(true, NO_MOVE, ENGINE_FORCE);
  }
  InputPipe input_;
  Move guess_ = NO_MOVE;
};

// The game after the moves from a position; its board and history as they should be.
static PositionSnapshot Replayed(Engine& engine, Position& pos, const std::string& start, const std::vector<Move>& moves) {
  EXPECT_TRUE(LoadPosition(engine, start.c_str())) << start;
  for (Move move : moves) EXPECT_TRUE(PlayGameMove(engine, ParseGameMove(pos, MoveText(move).c_str()))) << MoveText(move);
  return TakePositionSnapshot(pos);
}

static std::vector<Move> MovesOfHistory(Position& pos) {
  std::vector<Move> moves;
  for (const HistoryEntry* entry = pos.History; entry < pos.HistoryTop; ++entry) moves.push_back(entry->move);
  return moves;
}

// Every row of the command table, run while the engine ponders on e7e5 after 1.e4, the guess made on the search board
// alone: the words of pondering itself keep the guess; every other takes it back first, as "force" does. The move row
// runs with a miss, the hit and a move illegal on the game's board, which leaves the engine waiting. Then the board
// must be its game replayed from where that game began, and the game must go on with a legal move.
TEST_F(PonderingTest, EveryCommandLeavesAGameThatGoesOn) {
  EXPECT_EQ(std::tuple(engine.State, pos.UndoTop, pos.Board[E5], pos.GameBoard[E5]),
            std::tuple(ENGINE_PONDERING, pos.UndoRecords, BLACK_PAWN, EMPTY));
  InTempDir dir;  // the file commands write here, if anywhere
  std::ofstream("short.pgn") << "[Result \"1-0\"]\n\n1. d4 d5 1-0\n";
  const std::string fen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6", afterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
  // The word and its arguments; the position a game then starts from ("" for the one of 1.e4), or the text of one no
  // replay gives (after a side switch); where they matter, the game's moves and what is printed, '*' the answer.
  struct Run { std::string word, arguments = "", start = "", text = "", moves = "", printed = ""; };
  const Run special[] = {
      {"", "d7d5", "", "", "e2e4 d7d5 *", "move *\n"}, {"", "e7e5", "", "", "e2e4 e7e5 *", "move *\n"},
      {"", "e7e4", "", "", "e2e4", "Illegal move: e7e4\n"}, {"go", "", "", "", "e2e4 *", "move *\n"},
      {"new", "", INITIAL_POSITION}, {"result", " 1-0 {over}", INITIAL_POSITION},
      {"test", "", "8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51"}, {"setboard", " " + fen, fen},
      {"white", "", "", afterE4 + " w KQkq -"}, {"black", "", "", afterE4 + " b KQkq e3"},
      {"pgn2game", " short.pgn short.game", INITIAL_POSITION}, {"game2pos", " short.game short.pos", INITIAL_POSITION},
      {"pgn2pos", " short.pgn", INITIAL_POSITION},
  };
  const auto settings = std::tuple(engine.MovesPerControl, engine.IncrementMs, engine.ControlBaseMs, engine.limits.TimeBudgetMs, engine.PonderEnabled);
  for (const CommandRow* row = CommandTableBegin(); row != CommandTableEnd(); ++row) {
    if (std::string(row->word) == "bench") continue;  // over pipes in the bench test: it takes long here
    std::vector<Run> runs;
    for (const Run& run : special) {
      if (run.word == row->word) runs.push_back(run);
    }
    if (runs.empty()) runs.push_back({row->word});
    for (const auto& [word, arguments, start, text, moves, printed] : runs) {
      SCOPED_TRACE(word + arguments);
      Restart(pos);
      const std::string output = RunCommandsCapturingOutput(engine, word + arguments + "\n");
      EXPECT_EQ(engine.State == ENGINE_PONDERING, row->keepsPondering && row->match != Match::GameMove);
      if (!printed.empty()) {  // the engine plays on: it answers, or waits for a legal move
        std::string played;
        for (Move move : MovesOfHistory(pos)) played.append(played.empty() ? "" : " ").append(MoveText(move));
        const std::string answer = MoveText(MovesOfHistory(pos).back());
        auto answered = [&answer](std::string text) {
          return text.find('*') == std::string::npos ? text : text.replace(text.find('*'), 1, answer);
        };
        EXPECT_EQ(std::tuple(output, played, engine.State),
                  std::tuple(answered(printed), answered(moves), ENGINE_PLAYING));
      }
      RunCommandsCapturingOutput(engine, "force\n");
      EXPECT_EQ(engine.PonderMove, NO_MOVE);
      if (!text.empty()) {
        char position[POSITION_TEXT_SIZE];
        WritePositionText(pos, position);
        EXPECT_EQ(std::tuple(std::string(position), pos.GameSideToMove), std::tuple(text, pos.SideToMove));
      }
      const std::string next = MoveText(LegalMoves(pos).at(0));
      EXPECT_EQ(RunCommandsCapturingOutput(engine, next + "\n"), "") << next;  // no "Illegal move"
      if (text.empty()) {
        const PositionSnapshot after = TakePositionSnapshot(pos);
        EXPECT_EQ(Differences(Replayed(engine, pos, start.empty() ? INITIAL_POSITION : start, MovesOfHistory(pos)), after), "");
      }
      std::tie(engine.MovesPerControl, engine.IncrementMs, engine.ControlBaseMs, engine.limits.TimeBudgetMs, engine.PonderEnabled) = settings;
      std::tie(engine.FixedMoveMs, engine.DepthLimit, engine.UseOwnBook) = std::tuple(0, 0u, true);
    }
  }
}

// "undo" takes back one move and "remove" two, in force mode and after the engine's own move: the board, its keys,
// rights, en-passant square, fifty-move count and history are those of the game replayed without them. A take-back past
// the start of the game changes nothing. (While pondering: the table above.)
TEST_F(GameTest, TakeBacksGiveTheGameReplayedWithoutThem) {
  const struct { std::string start, moves, commands; size_t left; } cases[] = {
      {INITIAL_POSITION, "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1", "undo\n", 6},  // castling
      {INITIAL_POSITION, "e2e4 d7d5 e4d5 d8d5 b1c3", "remove\n", 3},       // captures and the fifty-move count
      {"rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3", "d4e3 d2e3 e7e5", "undo\nremove\n", 0},
      {"8/P6k/8/8/8/8/6K1/8 w - -", "a7a8q h7h6 a8b8", "undo\nundo\n", 1},  // a promotion
      {INITIAL_POSITION, "g1f3", "remove\n", 1},                            // past the start: refused
      {INITIAL_POSITION, "e2e4", "easy\ngo\n|remove\nhard\n", 0},  // the engine's move and the one before
  };
  engine.limits.TimeBudgetMs = 30;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.moves + " " + c.commands);
    std::istringstream words(c.moves);
    std::vector<std::string> moves{std::istream_iterator<std::string>(words), {}};
    std::string input = "setboard " + c.start + "\nforce\n";
    for (const std::string& move : moves) input += move + "\n";
    // A command waiting behind "go" would take the turn back: "|" sends the rest later.
    const size_t later = c.commands.find('|');
    RunCommandsCapturingOutput(engine, input + c.commands.substr(0, later));
    if (later != std::string::npos) RunCommandsCapturingOutput(engine, c.commands.substr(later + 1));
    const PositionSnapshot after = TakePositionSnapshot(pos);
    Load(pos, c.start);
    for (size_t i = 0; i < c.left; ++i) ASSERT_TRUE(PlayGameMove(engine, ParseGameMove(pos, moves[i].c_str())));
    EXPECT_EQ(Differences(TakePositionSnapshot(pos), after), "");
  }
  engine.State = ENGINE_FORCE;
}

TEST_F(PonderingTest, AHitKeepsTheClockOfThePonderSearch) {
  const i64 ponderStart = engine.limits.SearchStartClock;
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  PonderHit(engine);
  EXPECT_EQ(std::tuple(engine.limits.SearchStartClock, pos.History[1].move, pos.HistoryTop - pos.History),
            std::tuple(ponderStart, guess_, 3));
}

// White's only move is b3b4; then black mates with Rh8. A deepest exact entry planted for the position after b3b4
// outlasts the search of the engine's move, and its move slot is the guess offered: the engine ponders only on a legal
// move of that position. (Pondering on the mate ends by itself.)
TEST_F(GameTest, OnlyALegalMoveOfTheTableIsPonderedOn) {
  InputPipe input;  // open and empty: nothing keeps the engine from pondering
  const char *before = "kr6/8/8/p7/P2b4/1P6/r7/7K w - -", *afterB4 = "kr6/8/8/p7/PP1b4/8/r7/7K b - -";
  ASSERT_TRUE(LoadPosition(engine, afterB4));
  const Move mate = ParseBoardMove(pos, "b8h8");
  const Move misfit = MakeMoveCode(E7, E5, KIND_QUIET);  // e7 is empty
  for (Move planted : {GAME_MATED, misfit, mate}) {
    ASSERT_TRUE(LoadPosition(engine, before));  // which clears the table
    ASSERT_EQ(LegalMoves(pos).size(), 1u);
    WithMoveMade(pos, LegalMoves(pos)[0], [&] { StoreTransTable(pos, planted, 0, TRANS_MAX_DEPTH, BOUND_EXACT); });
    std::tie(engine.State, engine.PonderEnabled, engine.limits.PrintThinking, engine.limits.TimeBudgetMs) = std::tuple(ENGINE_PLAYING, true, false, 30);
    testing::internal::CaptureStdout();
    EngineMove(engine);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "move b3b4\n") << planted;
    const auto expected = planted == mate ? std::tuple(mate, ENGINE_PONDERING) : std::tuple(NO_MOVE, ENGINE_PLAYING);
    EXPECT_EQ(std::tuple(engine.PonderMove, engine.State), expected) << planted;
    RunCommands(engine, "force\n");
  }
  engine.limits.PrintThinking = true;
}

TEST(Xboard, MovesAndClaims) {
  const struct { std::string input, outputEnd; int moves; std::string logPart; } games[] = {
      {"setboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -\ngo\n", "\nmove a1a8\n1-0 {Tavrel mates 1}\n", 1,
       "move a1a8\tscore: 8099\n"},
      {"setboard R5k1/5ppp/8/8/8/8/8/6K1 b - -\ngo\n", "\n1-0 {Tavrel mated 0}\n", 0, ""},
      {"setboard 7k/5Q2/6K1/8/8/8/8/8 b - -\ngo\n", "1/2-1/2 {Draw by stalemate (1)}\n", 0, ""},
      // The knights out and back twice: the start position stands for the third time.
      {"force\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nf6g8\ngo\n", "1/2-1/2 {Draw by 3 fold repetition (2)}\n",
       0, ""},
      // "force" stops the play (no answer to e2e4), "go" resumes it.
      {"force\ne2e4\nd\ngo\n", "", 1, "::cmd:: go\n-M: entered StartEngine, goodPonder: 0\n*** xxx czas uzyty: "},
  };
  for (const auto& game : games) {
    EngineRun run = RunEngine("new\n" + game.input);  // no "quit": it would take the engine's turn back
    EXPECT_TRUE(run.output.ends_with(game.outputEnd)) << run.output;
    EXPECT_EQ(Count("\n" + run.output, "\nmove "), game.moves) << run.output;
    EXPECT_TRUE(game.logPart.empty() || Count(run.log, game.logPart) == 1) << run.log;
  }
}

// The log line telling whether the engine, after its move of the turn, ponders ("" on a timeout). A reply sent before
// would be input waiting, which rightly keeps it from pondering.
const std::string PONDERS = "-M: entered StartEngine", DOES_NOT_PONDER = "- NO ponder move";
static std::string PonderDecision(const EngineProcess& engine, int turn) {
  for (int attempt = 0; attempt < 2000; ++attempt) {
    std::string log = engine.ReadLog();
    size_t at = 0;
    for (int seen = 0; seen <= turn && at != std::string::npos; ++seen) at = log.find("\tscore: ", at + 1);
    for (const std::string& decision : {DOES_NOT_PONDER, PONDERS}) {
      if (at != std::string::npos && log.find(decision, at) != std::string::npos) return decision;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return "";
}

// The recorded exchange of xboard: the handshake, clock words before every move, guesses that are confirmed or not,
// "easy" before the last move, then "force" and the board compared with the same moves played here. Like xboard, the
// test interrupts the engine before each of its moves.
TEST(Xboard, PonderedGameEndsOnTheBoardOfItsMoves) {
  Engine core;  // the game played here too
  Position& pos = core.game;
  constexpr int ENGINE_MOVES = 6;
  InitBoardTables();
  ASSERT_TRUE(LoadPosition(core, INITIAL_POSITION));
  EngineProcess engine;
  engine.Send("xboard\nprotover 2\n");
  ASSERT_TRUE(engine.ReadUntil("feature setboard=1"));
  engine.Send("accepted done\n");
  ASSERT_TRUE(engine.ReadUntil("feature done=1"));
  engine.Send("accepted setboard\naccepted done\nnew\nrandom\nlevel 40 0:10 0\npost\nhard\nforce\n"
              "new\nrandom\nlevel 40 0:10 0\npost\nhard\nforce\ncomputer\nblack\ntime 1000\notim 1000\nwhite\ngo\n");
  for (int turn = 0; turn < ENGINE_MOVES; ++turn) {
    auto lines = engine.ReadUntil("move ");
    ASSERT_TRUE(lines) << "no move at turn " << turn;
    ASSERT_TRUE(PlayGameMove(core, ParseGameMove(pos, lines->back().substr(5).c_str())));
    ASSERT_EQ(PonderDecision(engine, turn), turn + 1 == ENGINE_MOVES ? DOES_NOT_PONDER : PONDERS) << "turn " << turn;
    if (turn + 1 == ENGINE_MOVES) break;
    // The reply the engine expects is the second move of its last thinking line; alternately that reply and another
    // legal one are played.
    std::string depth, score, time, nodes, first, expected;
    for (const std::string& line : *lines) {
      if (line.starts_with("    ")) std::istringstream(line) >> depth >> score >> time >> nodes >> first >> expected;
    }
    std::string reply;
    for (Move move : LegalMoves(pos)) {
      if (reply.empty() || (turn % 2 == 0) == (MoveText(move) == expected)) reply = MoveText(move);
    }
    ASSERT_TRUE(PlayGameMove(core, ParseGameMove(pos, reply.c_str()))) << reply;
    engine.Interrupt();
    engine.Send(std::string(turn + 2 == ENGINE_MOVES ? "easy\n" : "") + "time 1000\notim 985\n" + reply + "\n");
  }
  engine.Send("force\nd\n");
  auto shown = engine.ReadUntil("Key: ");
  ASSERT_TRUE(shown);
  char fen[POSITION_TEXT_SIZE], key[32];
  WritePositionText(pos, fen);
  std::snprintf(key, sizeof key, "Key: %016" PRIX64, pos.HashKey);
  EXPECT_EQ(shown->at(shown->size() - 2) + "\n" + shown->back(), std::string("FEN: ") + fen + "\n" + key);
  engine.Send("result 1-0 {game over}\nforce\nquit\n");
  EXPECT_EQ(engine.Wait(), 0);
  std::string log = engine.ReadLog();
  int hits = Count(log, "-GOOD PONDER\n"), misses = Count(log, "-BAD PONDER\n");
  // "easy" before the last reply takes the guess back: that reply is a plain move.
  EXPECT_TRUE(hits > 0 && misses > 0 && hits + misses == ENGINE_MOVES - 2) << log;
  EXPECT_EQ(engine.StandardError(), "");
}

// Two engines in one process: each keeps its own game, time control and search limits; a game played on one, and a
// take-back, leave the other's as they were.
TEST(Engines, TwoInOneProcessKeepTheirOwnGamesAndSettings) {
  InitBoardTables();
  const auto a = std::make_unique<Engine>(), b = std::make_unique<Engine>();
  RunCommandsCapturingOutput(*a, "new\nforce\nsd 3\nst 2\noption MultiPV=2\ne2e4\ne7e5\n");
  RunCommandsCapturingOutput(*b, "new\nforce\nd2d4\nanalyze\n");
  const PositionSnapshot other = TakePositionSnapshot(b->game);
  RunCommandsCapturingOutput(*a, "remove\n");
  EXPECT_EQ(std::tuple(a->State, b->State), std::tuple(i32{ENGINE_FORCE}, i32{ENGINE_ANALYZING}));
  EXPECT_EQ(std::tuple(a->GameMoves.size(), a->DepthLimit, a->FixedMoveMs, a->limits.MultiPvLines, a->game.GameMoveCount),
            std::tuple(size_t{0}, 3u, i64{2000}, 2u, u16{1}));
  EXPECT_EQ(std::tuple(b->GameMoves.size(), b->DepthLimit, b->FixedMoveMs, b->limits.MultiPvLines),
            std::tuple(size_t{1}, 0u, i64{0}, 1u));
  EXPECT_EQ(Differences(other, TakePositionSnapshot(b->game)), "");
}
