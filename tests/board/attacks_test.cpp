// Attack tables against a board walk, legality against the known move-tree counts, and the keys that files store.
#include <random>

#include "board_probe.h"
#include "support/test_data.h"

// Steps on the board as (file, row) offsets, rows counting down from rank 8, taken once or (slide) repeated up to the
// edge or the first occupied square.
using Steps = std::vector<std::pair<int, int>>;
static const Steps STRAIGHT = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}}, DIAGONAL = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

static u64 Walk(int square, const Steps& steps, bool slide, u64 occupied = 0) {
  u64 reached = 0;
  for (auto [file, row] : steps) {
    for (int f = FileOf(square) + file, r = RowOf(square) + row; f >= 0 && f < 8 && r >= 0 && r < 8;
         f += file, r += row) {
      reached |= SquareBit(8 * r + f);
      if (!slide || (occupied & SquareBit(8 * r + f))) break;
    }
  }
  return reached;
}

TEST_F(BoardTest, AttacksMatchWalkingTheBoard) {
  Position pos;
  std::mt19937_64 random(2024);
  for (int trial = 0; trial < 200; ++trial) {
    u64 occupied = trial == 0 ? 0 : random() & random();  // about a quarter of the squares
    pos.Occupied = occupied;
    pos.OccupiedByFile = RotateToFiles(occupied);
    pos.OccupiedDiagUp = RotateToDiagUp(occupied);
    pos.OccupiedDiagDown = RotateToDiagDown(occupied);
    for (int s = 0; s < SQUARE_COUNT; ++s) {
      ASSERT_EQ(RookLines(pos, s), Walk(s, STRAIGHT, true, occupied)) << "square " << s;
      ASSERT_EQ(BishopLines(pos, s), Walk(s, DIAGONAL, true, occupied)) << "square " << s;
    }
  }
  const Steps knight = {{1, 2}, {2, 1}, {-1, 2}, {-2, 1}, {1, -2}, {2, -1}, {-1, -2}, {-2, -1}};
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    EXPECT_EQ(std::tuple(RookRays[s], BishopRays[s], QueenRays[s]),
              std::tuple(Walk(s, STRAIGHT, true), Walk(s, DIAGONAL, true), RookRays[s] | BishopRays[s])) << s;
    EXPECT_EQ(std::tuple(KnightAttacks[s], KingAttacks[s], WhitePawnAttacks[s], BlackPawnAttacks[s]),
              std::tuple(Walk(s, knight, false), Walk(s, STRAIGHT, false) | Walk(s, DIAGONAL, false),
                         Walk(s, {{-1, -1}, {1, -1}}, false), Walk(s, {{-1, 1}, {1, 1}}, false))) << s;
  }
}

TEST_F(BoardTest, BitScanFollowsItsRule) {
  std::mt19937_64 random(7);
  for (int trial = 0; trial < 1000; ++trial) {
    u64 set = trial < 64 ? u64{1} << trial : (random() | 1) << (trial % 64);
    ASSERT_EQ(LowestSquare(set), LowBitSquareByRule(set)) << std::hex << set;
  }
}

// Every move code of the position tried; the legal ones counted, made and taken back.
static u64 Perft(Position& pos, int depth) {
  EXPECT_EQ(InvariantViolations(pos), "");
  std::vector<Move> moves;
  for (const CastlingMove& castling : Castlings) moves.push_back(castling.move);
  for (int from = 0; from < SQUARE_COUNT; ++from) {
    if (pos.Board[from] == EMPTY || (pos.Board[from] & 1) != static_cast<int>(pos.SideToMove)) continue;
    for (int to = 0; to < SQUARE_COUNT; ++to) {
      for (int kind = KIND_QUIET; kind <= KIND_CAPTURE_PROMOTE_BISHOP; ++kind) {
        if (kind != KIND_NOT_A_MOVE) moves.push_back(MakeMoveCode(from, to, kind));
      }
    }
  }
  std::erase_if(moves, [&pos](Move move) { return !IsLegalMove(pos, move); });
  if (depth == 1) return moves.size();
  u64 leaves = 0;
  for (Move move : moves) {
    UndoRecord record{};
    SavePositionForUndo(pos, record);
    MakeMove(pos, move, record);
    leaves += Perft(pos, depth - 1);
    UnmakeMove(pos, move, record);
  }
  return leaves;
}

// The shared perft positions to the depths of at most 100,000 leaves, which meet castling, en passant, promotions and
// checks: a fault in IsMoveValid, the check tests or make/unmake.
TEST_F(BoardTest, LegalMovesMakeTheKnownMoveTrees) {
  Position pos;
  constexpr u64 MOST_LEAVES = 100'000;
  for (const auto& [position, counts] : ReadPerftFile()) {
    Load(pos, position);
    PositionSnapshot before = TakePositionSnapshot(pos);
    for (size_t depth = 1; depth <= counts.size() && counts[depth - 1] <= MOST_LEAVES; ++depth) {
      EXPECT_EQ(Perft(pos, static_cast<int>(depth)), counts[depth - 1]) << position << " depth " << depth;
    }
    EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "");
  }
}

TEST_F(BoardTest, CastlingThroughOrOutOfCheckAndKingsThatMeet) {
  Position pos;
  const struct { const char* position; Move move; bool legal; } cases[] = {
      {"4k3/8/8/8/8/8/6b1/4K2R w K -", WHITE_SHORT_CASTLE, false},  // f1 attacked
      {"4k3/8/8/8/8/7n/8/4K2R w K -", WHITE_SHORT_CASTLE, false},   // g1 attacked
      {"4k3/8/8/8/8/8/8/R3K2r w Q -", WHITE_LONG_CASTLE, false},    // out of check
      {"1r2k3/8/8/8/8/8/8/R3K3 w Q -", WHITE_LONG_CASTLE, true},    // b1 may be attacked
      {"r3k3/8/8/8/8/8/8/3RK3 b q -", BLACK_LONG_CASTLE, false},    // d8 attacked
      {"r3k3/2K5/8/8/8/8/8/8 b q -", BLACK_LONG_CASTLE, false},     // ... by the king
      {"r3k2r/8/8/8/8/8/8/1R2K3 b kq -", BLACK_LONG_CASTLE, true},  // b8 may be attacked
      {"4k2r/6K1/8/8/8/8/8/8 b k -", BLACK_SHORT_CASTLE, false},
      {"8/8/8/8/3k4/8/4K3/8 w - -", MakeMoveCode(E2, E3, KIND_QUIET), false},
      {"8/8/8/8/3k4/8/4K3/8 w - -", MakeMoveCode(E2, E1, KIND_QUIET), true},
  };
  for (const auto& c : cases) {
    Load(pos, c.position);
    EXPECT_EQ(IsLegalMove(pos, c.move), c.legal) << c.position;
  }
}

// Books and databases store the keys: these values must never change.
TEST(ZobristKeys, ArePinnedDistinctAndKeyRightsByTheKingsDestination) {
  EXPECT_EQ(std::tuple(ZobristKeys[0][0], ZobristKeys[WHITE_KING][E1], ZobristKeys[BLACK_PAWN][D5]),
            std::tuple(0x17F8DEB82ADC3054ULL, 0x94B288D9FE354BFEULL, 0x30AB8CA836D97959ULL));
  EXPECT_EQ(ZobristKeys[BLACK_KING][H1], 0xA463A83E21FCEFEEULL);
  std::set<u64> seen = {0};
  for (const auto& row : ZobristKeys) seen.insert(std::begin(row), std::end(row));
  EXPECT_EQ(seen.size(), 13u * 64u + 1);
  EXPECT_EQ(std::tuple(CastleKey(CASTLE_WHITE_SHORT), CastleKey(CASTLE_WHITE_LONG), CastleKey(CASTLE_BLACK_SHORT),
                       CastleKey(CASTLE_BLACK_LONG)),
            std::tuple(ZobristKeys[0][G1], ZobristKeys[0][C1], ZobristKeys[0][G8], ZobristKeys[0][C8]));
}
