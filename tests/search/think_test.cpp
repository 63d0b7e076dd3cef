// Whole searches: mates, thinking lines, results and draws at the root, the records, and what stops a search.
#include <numeric>
#include <sstream>

#include "movegen/legal_moves.h"
#include "platform/input_poll.h"
#include "search/alpha_beta.h"
#include "search/helper_searchers.h"
#include "search/search_memory.h"
#include "search_probe.h"
#include "support/position_snapshot.h"

// Busy enough that every iteration from the third on looks at the input.
constexpr char MIDDLEGAME[] = "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ -";
constexpr u32 NO_DEPTH_LIMIT = 60;
constexpr int DEEP_ENTRY = 6;
constexpr Move MISFIT = MakeMoveCode(A3, A4, KIND_QUIET);  // a3 is empty

// Both searches find each mate at its distance: the modern search prunes and reduces, but never a forced mate away.
TEST_F(SearchTest, FindsMatesWithTheirDistanceAndLine) {
  for (SearchKind kind : {SearchKind::Classic, SearchKind::Modern}) {
    limits.CurrentSearchKind = kind;
    ExpectMatesFound(pos);
  }
  limits.CurrentSearchKind = SearchKind::Classic;
}

void SearchTest::ExpectMatesFound(Position& pos) {
  // The score: 8100 less the plies to the mate.
  const struct { const char* fen; int moves; i16 score; } problems[] = {
      {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", 1, 8099},  // back rank: Rd8
      {"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - -", 1, 8099},  // the same for black: Rd1
      {"3r3k/6pp/7N/8/2Q5/8/6PP/6K1 w - -", 2, 8097},  // Qg8+ Rxg8 Nf7, smothered
      {"5rk1/5Npp/8/8/2Q5/8/6PP/6K1 w - -", 3, 8095},  // Nh6 double check first
      {"7k/8/5K2/8/8/8/8/R7 w - -", 2, 8097},          // king and rook
  };
  for (const auto& problem : problems) {
    Load(pos, problem.fen);
    EXPECT_EQ(std::accumulate(&s.HistoryScores[0][0], &s.HistoryScores[0][0] + 2 * HISTORY_MOVE_SLOTS, 0ull), 0u)
        << "a load forgets the history counters of the search before";
    ASSERT_TRUE(ForcesMateWithin(pos, problem.moves) &&
                !(problem.moves > 1 && ForcesMateWithin(pos, problem.moves - 1)));
    const PositionSnapshot before = TakePositionSnapshot(pos);
    const Move move = SearchTo(pos, static_cast<u32>(2 * problem.moves + 3));
    EXPECT_EQ(std::tuple(move, s.BestScore), std::tuple(s.BestMove, problem.score))
        << problem.fen << (limits.CurrentSearchKind == SearchKind::Modern ? " modern" : " classic");
    EXPECT_TRUE(ForcesMateWithin(pos, problem.moves, move)) << MoveText(move);
    EXPECT_EQ(std::tuple(TakePositionSnapshot(pos), pos.UndoTop, s.InCheckCount[BLACK] + s.InCheckCount[WHITE]),
              std::tuple(before, pos.UndoRecords, 0u));
    Line line(pos);  // the line: the move, then the mate and "#"
    EXPECT_TRUE(std::string(s.PvText).starts_with(MoveText(move) + " ") && line.PlayLegal(s.PvText) == "#" &&
                line.Length() == static_cast<size_t>(2 * problem.moves - 1) && IsCheckmate(pos))
        << s.PvText;
  }
}

// A mate the table learnt in an earlier search keeps its distance when it is read back two and four plies on: the
// table counts mates from the node, not from the root of the search that found them.
TEST_F(SearchTest, MatesReadBackThroughTheTableKeepTheirDistance) {
  Load(pos, "5rk1/5Npp/8/8/2Q5/8/6PP/6K1 w - -");  // Nh6+ Kh8 Qg8+ Rxg8 Nf7 mate
  SearchTo(pos, 9);
  ASSERT_EQ(s.BestScore, 8095);
  std::istringstream moves(s.PvText);
  std::string played[4];
  for (std::string& move : played) moves >> move;
  Line line(pos);
  for (const auto& [first, second, score] : {std::tuple(0, 1, 8097), std::tuple(2, 3, 8099)}) {
    line.Play(played[first]);
    line.Play(played[second]);
    SearchTo(pos, 3);
    EXPECT_EQ(s.BestScore, score) << s.PvText;
    EXPECT_EQ(ThinkingLineScore(s.BestScore), 100000 + (8101 - score) / 2);
  }
}

// The thinking lines ("    depth     score     centiseconds     nodes  line") of iterations 2 to 5, each with the given
// score and line; the counts as "cs" and "n".
static std::string Iterations(const std::string& score, const std::string& line) {
  std::string lines;
  for (int depth = 2; depth <= 5; ++depth) {
    lines += "    " + std::to_string(depth) + "     " + score + "     cs     n  " + line + "\n";
  }
  return lines;
}

// The thinking lines with their time and node fields, which go to the vectors, written as "cs" and "n".
static std::string WithoutCounts(const std::string& output, std::vector<long long>& centiseconds,
                          std::vector<long long>& nodes) {
  std::istringstream lines(output);
  std::string masked;
  for (std::string line; std::getline(lines, line);) {
    size_t start[4], end[4];
    for (size_t field = 0, at = 0; field < 4; ++field) {
      start[field] = line.find_first_not_of(' ', at);
      at = end[field] = line.find(' ', start[field]);
    }
    centiseconds.push_back(std::stoll(line.substr(start[2], end[2] - start[2])));
    nodes.push_back(std::stoll(line.substr(start[3], end[3] - start[3])));
    masked += line.substr(0, start[2]) + "cs" + line.substr(end[2], start[3] - end[2]) + "n" + line.substr(end[3]) + "\n";
  }
  return masked;
}

// A search said to have begun three seconds ago prints at least 300 centiseconds on every line; the node counts, from
// the start of the search, rise to MovesMade.
TEST_F(SearchTest, EachIterationPrintsItsLineAndMatesEndTheSearchAtTheFourth) {
  constexpr i64 BEGUN_MS_AGO = 3000;
  Load(pos, "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -");
  std::vector<long long> centiseconds, nodes;
  const std::string output = WithoutCounts(SearchPrinting(pos, 30, BEGUN_MS_AGO), centiseconds, nodes);
  // A mate in 1 as 100001, the line without the table's closing mark.
  EXPECT_EQ(std::tuple(output, s.IterationDepth), std::tuple(Iterations("100001", "d1d8 "), 5u));
  EXPECT_TRUE(std::is_sorted(nodes.begin(), nodes.end()) && !nodes.empty() && nodes.back() == pos.MovesMade);
  for (long long time : centiseconds) EXPECT_GE(time, BEGUN_MS_AGO / 10);
  Load(pos, "7k/6Q1/6K1/8/8/8/8/8 b - -");  // mated at the root
  EXPECT_EQ(WithoutCounts(SearchPrinting(pos, 30), centiseconds, nodes), Iterations("-100000", ""));
  EXPECT_EQ(std::tuple(s.BestMove, s.BestScore), std::tuple(GAME_MATED, -8100));
  Load(pos, "7k/5Q2/6K1/8/8/8/8/8 b - -");  // stalemated
  EXPECT_EQ(SearchPrinting(pos, 30), "");
  EXPECT_EQ(std::tuple(s.BestMove, s.BestScore, s.IterationDepth), std::tuple(GAME_STALEMATE, 0, 2u));
  Load(pos, "3r3k/6pp/7N/8/2Q5/8/6PP/6K1 w - -");
  limits.CurrentSearchMode = SearchMode::Ponder;
  EXPECT_EQ(SearchPrinting(pos, 4), "");  // a ponder search prints nothing
  EXPECT_EQ(s.BestScore, 8097);
}

// Mate scores in moves, for the thinking line and UCI: plies to the mate, halved upwards for the side that mates;
// scores that are no mate stay centipawns.
TEST(ThinkingLine, MateScoresCountMoves) {
  const struct { i16 score; int moves, lineScore; } cases[] = {
      {8099, 1, 100001}, {8097, 2, 100002}, {8051, 25, 100025}, {-8098, -1, -100001},
      {-8096, -2, -100002}, {-8100, 0, -100000}, {8050, 0, 8050}, {-35, 0, -35},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::tuple(MateInMoves(c.score), ThinkingLineScore(c.score)), std::tuple(c.moves, c.lineScore)) << c.score;
  }
}

TEST_F(SearchTest, DrawsOfTheGameAreAnsweredWithoutSearching) {
  const std::string knightsOutAndBack = "g1f3 g8f6 f3g1 f6g8\n";
  Load(pos, INITIAL_POSITION);
  RunCommands(engine, knightsOutAndBack);
  EXPECT_TRUE(IsLegalMove(pos, SearchTo(pos, 6)));  // a second occurrence: searched as usual
  RunCommands(engine, knightsOutAndBack);
  pos.MovesMade = 0;
  SearchTo(pos, 6);
  EXPECT_EQ(std::tuple(s.BestMove, s.BestScore, pos.MovesMade), std::tuple(GAME_REPETITION, 0, 0u));
  Load(pos, "8/8/8/2b1k3/8/8/8/4K3 b - -");  // a lone bishop cannot mate
  SearchTo(pos, 4);
  EXPECT_EQ(std::tuple(s.BestMove, s.BestScore), std::tuple(GAME_NO_MATERIAL, 0));
}

// A node as deep as the search goes: its null move and captures stay inside the records.
TEST_F(SearchTest, TheDeepestNodesStayInsideTheRecords) {
  Load(pos, MIDDLEGAME);
  const PositionSnapshot before = TakePositionSnapshot(pos);
  s.SearchStack[LAST_FULL_PLY].listEnd = s.MoveStack;
  pos.UndoTop = &pos.UndoRecords[LAST_FULL_PLY + 1];
  std::tie(PlyRecordOf(s, pos).listEnd, s.IterationDepth) = std::tuple(nullptr, 8);
  const i16 score = AlphaBeta(s, pos, 6, LAST_FULL_PLY + 1, -MATE_SCORE, MATE_SCORE, 1);
  EXPECT_TRUE(score > SCORE_ILLEGAL && score < SCORE_KING_CAPTURE) << score;
  EXPECT_EQ(std::tuple(TakePositionSnapshot(pos), pos.UndoTop),
            std::tuple(before, &pos.UndoRecords[LAST_FULL_PLY + 1]));
  pos.UndoTop = pos.UndoRecords;
}

TEST_F(SearchTest, PendingInputStopsTheSearchWithThePreviousIterationsMove) {
  Load(pos, MIDDLEGAME);
  input_.Write("e7e5\n");
  SearchTo(pos, NO_DEPTH_LIMIT);
  ASSERT_TRUE(StopSearch);
  const auto stopped = std::tuple(false, s.BestMove, s.BestScore);
  const u32 iteration = s.IterationDepth;
  EXPECT_TRUE(iteration >= 3 && IsLegalMove(pos, s.BestMove)) << iteration;
  EXPECT_EQ(InputPending(), 5u);  // the search reads nothing
  // The same search, ended by its depth after the last iteration the first one completed.
  char word[COMMAND_BUFFER_SIZE];
  ASSERT_EQ(ReadWord(word, sizeof word), WordStatus::Read);
  Load(pos, MIDDLEGAME);
  SearchTo(pos, iteration - 1);
  EXPECT_EQ(std::tuple(StopSearch.load(), s.BestMove, s.BestScore), stopped);
}

// A deep exact entry whose move does not fit: until the first iteration, that deep, ends there is no move to answer
// with. A ponder search, whose answer is never played, stops at its first look.
TEST_F(SearchTest, PendingInputWaitsForAMoveToAnswerWithUnlessPondering) {
  for (bool pondering : {false, true}) {
    Load(pos, MIDDLEGAME);
    StoreTransTable(pos, MISFIT, 0, DEEP_ENTRY, BOUND_EXACT);
    limits.CurrentSearchMode = pondering ? SearchMode::Ponder : SearchMode::OwnMove;
    input_.Write("e7e5\n");
    SearchTo(pos, NO_DEPTH_LIMIT);
    EXPECT_TRUE(StopSearch);
    if (!pondering) {  // it looked, and went on
      EXPECT_TRUE(s.IterationDepth > DEEP_ENTRY && pos.MovesMade > 2 * POLL_INTERVAL && IsLegalMove(pos, s.BestMove));
    }
  }
  EXPECT_EQ(std::tuple(pos.MovesMade, s.IterationDepth, s.BestMove), std::tuple(POLL_INTERVAL + 1, 6u, MISFIT));
}

TEST_F(SearchTest, TheClockStopsNeitherTheFirstTwoIterationsNorAPonderSearch) {
  Load(pos, MIDDLEGAME);
  const Move second = SearchTo(pos, 2);
  limits.TimeBudgetMs = 0;
  Load(pos, MIDDLEGAME);
  SearchTo(pos, NO_DEPTH_LIMIT);
  EXPECT_EQ(std::tuple(StopSearch.load(), s.IterationDepth, s.BestMove), std::tuple(true, 3u, second));
  Load(pos, MIDDLEGAME);
  limits.CurrentSearchMode = SearchMode::Ponder;
  SearchTo(pos, 4);
  EXPECT_EQ(std::tuple(StopSearch.load(), s.IterationDepth), std::tuple(false, 5u));  // all four iterations ended
}

// The search of the middlegame to depth 7 made 140,241 moves when the table had one size only, 18 MB; it still does at
// that size, and a table too small to hold the tree changes the search.
TEST_F(SearchTest, TheDefaultTableSearchesTheSameTree) {
  DefaultTableAfter restore;
  std::vector<u64> moves;
  for (u32 megabytes : {DEFAULT_HASH_MB, 1u, 64u, DEFAULT_HASH_MB}) {
    ASSERT_TRUE(ResizeTransTable(megabytes));
    Load(pos, MIDDLEGAME);
    SearchTo(pos, 7);
    moves.push_back(pos.MovesMade);
  }
  EXPECT_EQ(moves[0], 140'241u);
  EXPECT_EQ(moves[3], moves[0]);
  EXPECT_NE(moves[1], moves[0]);
}

// Two positions searched one after the other: the second search leaves the first position as it was, and the first
// position, searched again, gives the same move.
TEST_F(SearchTest, TwoPositionsSearchedInTurnLeaveEachOtherAlone) {
  Position other;
  Load(pos, "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -");
  Load(other, "8/5pk1/6p1/1p5p/1P3P1P/6P1/6K1/8 w - -");
  const PositionSnapshot before = TakePositionSnapshot(pos);
  ForgetSearchMemory(s);
  const Move first = SearchTo(pos, 6);
  ForgetSearchMemory(s);
  SearchTo(other, 6);
  EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "");
  ForgetSearchMemory(s);
  EXPECT_EQ(SearchTo(pos, 6), first);
}

// Two threads search together: the reporting one still finds each mate at its distance with its line, and a
// middlegame search leaves the position as it was. (Built with ThreadSanitizer, ./check runs this for data races.)
TEST_F(SearchTest, TwoThreadsFindTheMatesAndLeaveThePositionAsItWas) {
  ASSERT_TRUE(ChooseSearchThreads(limits, 2));
  for (SearchKind kind : {SearchKind::Classic, SearchKind::Modern}) {
    limits.CurrentSearchKind = kind;
    ExpectMatesFound(pos);
  }
  limits.CurrentSearchKind = SearchKind::Classic;
  Load(pos, MIDDLEGAME);
  const PositionSnapshot before = TakePositionSnapshot(pos);
  EXPECT_TRUE(IsGeneratedLegalMove(pos, SearchTo(pos, 8)));
  EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "");
  EXPECT_FALSE(ChooseSearchThreads(limits, 0) || ChooseSearchThreads(limits, MAX_SEARCH_THREADS + 1));
  EXPECT_EQ(limits.SearchThreads, 2u);

  // A helper alone runs its iterations to the last one it was given, and hands on the deepest with its move.
  StopSearch = false;
  HelperSearchers helper(pos, limits, 1, 2, 6);
  const HelperLine line = helper.Finish();
  EXPECT_EQ(line.depth, 6u);
  EXPECT_TRUE(IsGeneratedLegalMove(pos, line.move));
  EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "");
}
