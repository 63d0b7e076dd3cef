// The quiescence search on positions worked out by hand: its score and its table entry.
#include "search/quiesce.h"

#include "eval/evaluate.h"
#include "movegen/generate_captures.h"
#include "search_probe.h"

// Quiesce at depth and ply from an empty table, the side to move in check that often before on the line; the position
// and UndoTop must come back.
static i16 Quiet(Position& pos, i32 depth, i32 ply, u32 checkedBefore = 0) {
  static Engine engine;
  Searcher& s = *engine.searcher;
  ClearTransTable();
  s.InCheckCount[pos.SideToMove] = checkedBefore;
  std::tie(s.SearchStack[ply - 1].listEnd, pos.UndoTop) = std::tuple(s.MoveStack, &pos.UndoRecords[ply]);
  const PositionSnapshot before = TakePositionSnapshot(pos);
  const i16 score = Quiesce(s, pos, depth, ply, -SCORE_KING_CAPTURE, SCORE_KING_CAPTURE);
  EXPECT_EQ(std::tuple(TakePositionSnapshot(pos), pos.UndoTop), std::tuple(before, &pos.UndoRecords[ply]));
  std::tie(pos.UndoTop, s.InCheckCount[BLACK], s.InCheckCount[WHITE]) = std::tuple(pos.UndoRecords, 0, 0);
  return score;
}

static std::tuple<Move, u32, int, int> Stored(Position& pos) {
  const std::optional<TransEntry> e = ProbeTransTable(pos);
  if (!e) return {};
  return {EntryMove(*e), EntryBound(*e), EntryDepth(*e), EntryScore(*e)};
}

static int StandPat(Position& pos) { return Evaluate(pos, -SCORE_KING_CAPTURE, SCORE_KING_CAPTURE); }

// The best of standing pat and of every capture scored by the evaluation of the position it reaches, worked out move by
// move.
static int StandPatOrEvaluatedCapture(Position& pos) {
  MoveEntry list[MAX_LIST_MOVES];
  const MoveEntry* end = GenerateCaptures[pos.SideToMove](pos, list);
  int best = StandPat(pos);
  for (const MoveEntry* entry = list; entry < end; ++entry) {
    WithMoveMade(pos, entry->move, [&best, &pos] { best = std::max(best, -StandPat(pos)); });
  }
  return best;
}

TEST(Quiesce, StandsPatOrTakesWhatHangs) {
  Position pos;
  Load(pos, INITIAL_POSITION);
  EXPECT_EQ(Quiet(pos, 0, 1), StandPat(pos));
  EXPECT_EQ(Stored(pos), std::tuple(NO_MOVE, BOUND_UPPER, 0, StandPat(pos)));  // no move raised it
  Load(pos, "4k3/8/8/3q4/4P3/8/8/4K3 w - -");  // the queen stands unprotected before the pawn
  const int best = StandPatOrEvaluatedCapture(pos);
  EXPECT_GT(best, StandPat(pos) + 500);
  EXPECT_EQ(Quiet(pos, 0, 1), best);
  EXPECT_EQ(Stored(pos), std::tuple(MakeMoveCode(E4, D5, KIND_CAPTURE), BOUND_EXACT, 0, best));
  Load(pos, "4k3/8/8/3r4/8/5B2/8/4K3 w - -");  // a lone bishop is left, which cannot mate
  ASSERT_LT(StandPat(pos), -100);
  EXPECT_EQ(Quiet(pos, 0, 1), DRAW_SCORE);
  EXPECT_EQ(std::get<0>(Stored(pos)), MakeMoveCode(F3, D5, KIND_CAPTURE));
  // After an illegal move into the rook's file, the rook takes the king.
  Load(pos, "4k3/8/8/8/8/8/3r4/4K3 w - -");
  UndoRecord record{};
  SavePositionForUndo(pos, record);
  MakeMove(pos, MakeMoveCode(E1, D1, KIND_QUIET), record);
  EXPECT_EQ(Quiet(pos, 0, 1), SCORE_KING_CAPTURE);
  EXPECT_EQ(Stored(pos), std::tuple(MakeMoveCode(D2, D1, KIND_CAPTURE), BOUND_EXACT, 0, int{SCORE_KING_CAPTURE}));
}

TEST(Quiesce, AtItsLimitsCapturesAreScoredByTheEvaluationAndChecksAnsweredOnlyAfterOne) {
  Position pos;
  // Captures for both sides, several of them answered by captures in turn.
  Load(pos, "r1bqk2r/ppp2ppp/2n2n2/2bpp3/2B1P3/2NP1N2/PPP2PPP/R1BQK2R w KQkq -");
  const int evaluated = StandPatOrEvaluatedCapture(pos);
  EXPECT_EQ(Quiet(pos, QUIESCE_DEPTH_LIMIT, 1), evaluated);
  EXPECT_EQ(Quiet(pos, 0, LAST_SEARCH_PLY), evaluated);
  EXPECT_NE(Quiet(pos, 0, 1), evaluated);  // elsewhere the captures are answered
  // A check is answered only when the side was checked earlier on the line.
  Load(pos, "7k/6Q1/6K1/8/8/8/8/8 b - -");  // mated
  EXPECT_EQ(Quiet(pos, 0, 3), StandPat(pos));
  EXPECT_EQ(Quiet(pos, 0, 3, 1), -8097);                                  // mated three plies below the root
  EXPECT_EQ(Stored(pos), std::tuple(GAME_MATED, BOUND_EXACT, 0, -8100));  // the table counts from the node: mated here
}
