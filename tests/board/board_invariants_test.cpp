// The board's invariants: they hold after every legal move and every take-back over the perft positions, and each
// kind of corruption, planted by hand, is named.
#include "board/zobrist.h"
#include "board_probe.h"
#include "movegen/movegen_probe.h"
#include "support/test_data.h"

using BoardInvariants = BoardTest;

// Walks every legal line of depth plies, checking the invariants after each move and take-back; the leaves walked.
static u64 WalkChecking(Position& pos, int depth, const std::string& fen) {
  if (depth == 0) return 1;
  u64 leaves = 0;
  for (Move move : LegalMoves(pos)) {
    WithMoveMade(pos, move, [&] {
      EXPECT_EQ(InvariantViolations(pos), "") << fen << " after " << MoveText(move);
      leaves += WalkChecking(pos, depth - 1, fen);
    });
    EXPECT_EQ(InvariantViolations(pos), "") << fen << " after taking back " << MoveText(move);
  }
  return leaves;
}

// Two plies from every perft position, in both colours: the leaves walked are the known count at depth 2.
TEST_F(BoardInvariants, HoldAfterEveryMoveAndTakeBackOfThePerftPositions) {
  Position pos;
  constexpr int DEPTH = 2;
  const std::vector<KnownCounts> positions = ReadPerftFile();
  ASSERT_GE(positions.size(), 8u);
  for (const KnownCounts& known : positions) {
    for (const std::string& fen : {known.fen, MirroredFen(known.fen)}) {
      Load(pos, fen);
      EXPECT_EQ(InvariantViolations(pos), "") << fen;
      EXPECT_EQ(WalkChecking(pos, DEPTH, fen), known.leaves[DEPTH - 1]) << fen;
    }
  }
}

// Both sides may castle either way.
constexpr const char* KIWIPETE = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

// One variable of the position changed by hand, after a load: the invariant named.
TEST_F(BoardInvariants, EachCorruptionIsNamed) {
  Position pos;
  const std::pair<void (*)(Position&), std::string> cases[] = {
      {[](Position& pos) { pos.PieceBB[WHITE_KNIGHT] ^= SquareMask[A1]; }, "a piece set disagrees with Board"},
      {[](Position& pos) { pos.PieceBB[BLACK_PAWN] ^= SquareMask[A7]; }, "a piece set disagrees with Board"},
      {[](Position& pos) { pos.ColourBB[BLACK] ^= SquareMask[H1]; }, "a colour set disagrees with Board"},
      {[](Position& pos) { pos.Occupied ^= SquareMask[D4]; }, "an occupancy set disagrees with Board"},
      {[](Position& pos) { pos.OccupiedByFile ^= SquareMask[D4]; }, "an occupancy set disagrees with Board"},
      {[](Position& pos) { pos.OccupiedDiagDown ^= SquareMask[E4]; }, "an occupancy set disagrees with Board"},
      {[](Position& pos) { pos.Board[D4] = WHITE_QUEEN; }, "a piece set disagrees with Board"},
      {[](Position& pos) { pos.Board[D4] = PIECE_CODE_COUNT; }, "a square holds no piece code"},
      {[](Position& pos) { pos.KingSquare[BLACK] = D8; }, "a king square disagrees with Board"},
      {[](Position& pos) { --pos.PawnCount[WHITE]; }, "a count or the material disagrees with Board"},
      {[](Position& pos) { ++pos.TotalMaterial; }, "a count or the material disagrees with Board"},
      {[](Position& pos) { pos.HashKey ^= 1; }, "HashKey is not the key of the position"},
      {[](Position& pos) { pos.HashKey ^= u64{1} << 63; }, "HashKey is not the key of the position"},
      {[](Position& pos) { pos.HashKey ^= CastleKey(CASTLE_WHITE_SHORT); },
       "HashKey is not the key of the position"},  // still held
      {[](Position& pos) { pos.PawnHashKey ^= 1u << 20; }, "PawnHashKey is not the key of the pawns"},
      {[](Position& pos) { pos.HistoryTop->key ^= 1; }, "the history's top entry has another key"},
      {[](Position& pos) { pos.SideToMove ^= 1; }, "the side that moved left its king attacked"},
  };
  for (const auto& [corrupt, fault] : cases) {
    Load(pos, "4k3/p7/8/8/8/8/4q2P/R3K2R w K -");  // white in check, and still allowed to castle short
    ASSERT_EQ(InvariantViolations(pos), "");
    corrupt(pos);
    EXPECT_EQ(InvariantViolations(pos), fault);
  }
  Load(pos, INITIAL_POSITION);
}

// The key of a right lost by a move stays in HashKey; a right lost by castling, and the key of an en-passant square
// read with the position, are in none. A move that leaves the mover's king attacked breaks the last invariant.
TEST_F(BoardInvariants, RightsLostAndEnPassantSquaresKeepTheirKeysAsMovesMakeThem) {
  Position pos;
  const std::tuple<const char*, const char*, std::string> cases[] = {  // position, moves, fault after them
      {KIWIPETE, "h1g1 a8b8", ""},        {KIWIPETE, "e1g1 e8c8", ""},
      {KIWIPETE, "e1d1 h3g2 d1e1", ""},  {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "", ""},
      {"4k3/3p4/8/4P3/8/8/8/4K3 b - -", "d7d5", ""},
      {"4k3/8/8/8/8/8/8/3rK3 w - -", "e1f1", "the side that moved left its king attacked"},
      {"4k3/8/8/8/8/8/4r3/4K3 w - -", "e1e2", ""},
  };
  for (const auto& [fen, moves, fault] : cases) {
    Load(pos, fen);
    std::istringstream words(moves);
    std::vector<std::pair<Move, UndoRecord>> made;
    for (std::string word; words >> word;) {
      made.emplace_back(ParseBoardMove(pos, word.c_str()), UndoRecord{});
      SavePositionForUndo(pos, made.back().second);
      MakeMove(pos, made.back().first, made.back().second);
    }
    EXPECT_EQ(InvariantViolations(pos), fault) << fen << " " << moves;
    for (auto step = made.rbegin(); step != made.rend(); ++step) UnmakeMove(pos, step->first, step->second);
    EXPECT_EQ(InvariantViolations(pos), "") << fen << " " << moves << " taken back";
  }
}

// The check that the sanitizer build runs ends the program with the fault and where it was found.
TEST_F(BoardInvariants, RequiringThemAbortsWithTheFaultAndThePlace) {
  Position pos;
  Load(pos, KIWIPETE);
  RequireBoardInvariants(pos, "in a sound position");
  pos.HashKey ^= 1;
  EXPECT_DEATH(RequireBoardInvariants(pos, "after a test's move"),
               "board invariant broken after a test's move: HashKey is not the key of the position");
  pos.HashKey ^= 1;
}
