#include "search/null_move.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "board/zobrist.h"
#include "line_player.h"
#include "search/draw.h"

namespace {

// Every position variable a null move may touch.
struct Snapshot {
  u32 side;
  u64 key;
  u32 pawnKey;
  u8 enPassant;
  u16 castleRights;
  u8 kings[2];
  const HistoryEntry* top;
  u64 topKey;
  u16 topFifty;

  static Snapshot Take() {
    return {SideToMove, HashKey, PawnHashKey, EnPassantSquare, CastleRights,
            {KingSquare[BLACK], KingSquare[WHITE]}, HistoryTop, HistoryTop->key, HistoryTop->fifty};
  }
  bool operator==(const Snapshot&) const = default;
};

// Black to move after white's e2-e4 (hand-set keys; the pieces do not matter here).
class NullMoveTest : public testing::Test {
 protected:
  static constexpr u64 KEY_AFTER_E4 = 0x7a3c91e45d20b86full;
  static constexpr u32 PAWN_KEY_AFTER_E4 = 0x5e1d2c3bu;

  void SetUp() override {
    std::memset(History, 0, sizeof History);
    History[0] = {0x1111222233334444ull, MakeMoveCode(E2, E4, KIND_QUIET), 7};
    History[1] = {KEY_AFTER_E4, NO_MOVE, 0};
    HistoryTop = History + 1;
    HashKey = KEY_AFTER_E4;
    PawnHashKey = PAWN_KEY_AFTER_E4;
    EnPassantSquare = E3;
    SideToMove = BLACK;
    CastleRights = CASTLE_WHITE_ANY | CASTLE_BLACK_ANY;
    KingSquare[BLACK] = E8;
    KingSquare[WHITE] = E1;
    TotalMaterial = 78;
    PawnCount[WHITE] = PawnCount[BLACK] = 8;
  }
  void TearDown() override {
    std::memset(History, 0, sizeof History);
    HistoryTop = History;
    HashKey = 0;
    PawnHashKey = 0;
    EnPassantSquare = 0;
    SideToMove = WHITE;
    CastleRights = 0;
  }
  UndoRecord record_{};
  UndoRecord childRecord_{};
};

TEST_F(NullMoveTest, PassingTakesAwayTheEnPassantSquareWithItsKeys) {
  MakeNullMove(record_);
  const u64 epKey = ZobristKeys[EN_PASSANT_KEY_ROW][E3];
  EXPECT_EQ(SideToMove, static_cast<u32>(WHITE));
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(HashKey, KEY_AFTER_E4 ^ epKey);
  EXPECT_EQ(PawnHashKey, PAWN_KEY_AFTER_E4 ^ static_cast<u32>(epKey));
  EXPECT_EQ(CastleRights, CASTLE_WHITE_ANY | CASTLE_BLACK_ANY);

  EXPECT_EQ(HistoryTop, History + 2);
  EXPECT_EQ(History[1].move, MOVE_NULL);  // the position before records the pass
  EXPECT_EQ(HistoryTop->key, HashKey);
  EXPECT_EQ(HistoryTop->fifty, 1);
}

TEST_F(NullMoveTest, UnmakeRestoresEverythingExactly) {
  const Snapshot before = Snapshot::Take();
  MakeNullMove(record_);
  // What the record keeps is put back, whatever happened to it meanwhile:
  // the king of the side that passed the move to it, and the castling rights.
  KingSquare[WHITE] = A8;
  CastleRights = 0;
  UnmakeNullMove(record_);
  EXPECT_EQ(Snapshot::Take(), before);
}

TEST_F(NullMoveTest, PassesNestAndUnwind) {
  const Snapshot before = Snapshot::Take();
  MakeNullMove(record_);
  const Snapshot afterFirst = Snapshot::Take();
  MakeNullMove(childRecord_);
  EXPECT_EQ(SideToMove, static_cast<u32>(BLACK));
  EXPECT_EQ(HashKey, afterFirst.key);  // no en-passant square left to remove
  EXPECT_EQ(HistoryTop->fifty, 2);
  EXPECT_EQ(History[2].move, MOVE_NULL);
  UnmakeNullMove(childRecord_);
  EXPECT_EQ(Snapshot::Take(), afterFirst);
  UnmakeNullMove(record_);
  EXPECT_EQ(Snapshot::Take(), before);
}

TEST_F(NullMoveTest, APassCountsTowardsTheFiftyMoveRule) {
  History[1].fifty = 99;
  EXPECT_EQ(DrawCheck(1), 0);
  MakeNullMove(record_);
  EXPECT_EQ(DrawCheck(1), GAME_FIFTY_MOVES);
  UnmakeNullMove(record_);
  EXPECT_EQ(DrawCheck(1), 0);
}


// Everything a position is made of, to compare after a round trip.
struct WholePosition {
  Snapshot basics;
  std::array<u8, SQUARE_COUNT> board;
  std::array<u64, 11> pieces;
  std::array<u64, 2> colours;
  std::array<u64, 4> occupancy;
  std::array<u8, 6> counters;

  static WholePosition Take() {
    WholePosition position{Snapshot::Take(), {}, {}, {}, {}, {}};
    std::copy(std::begin(Board), std::end(Board), position.board.begin());
    std::copy(std::begin(PieceBB), std::end(PieceBB), position.pieces.begin());
    std::copy(std::begin(ColourBB), std::end(ColourBB), position.colours.begin());
    position.occupancy = {Occupied, OccupiedByFile, OccupiedDiagUp, OccupiedDiagDown};
    position.counters = {TotalMaterial, PieceMaterial[0], PieceMaterial[1], PawnCount[0], PawnCount[1], 0};
    return position;
  }
  bool operator==(const WholePosition&) const = default;
};

constexpr char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
constexpr char AFTER_E4_WHITE_TO_MOVE[] = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -";
constexpr char AFTER_E4_LOADED[] = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";

class PlayedNullMoveTest : public testing::Test {
 protected:
  LinePlayer line_;
  UndoRecord record_{};
  UndoRecord secondRecord_{};
};

TEST_F(PlayedNullMoveTest, PassingAfterADoubleStepReachesTheKeysOfThePositionWithoutIt) {
  LinePlayer::Load(AFTER_E4_WHITE_TO_MOVE);  // a loaded key holds the pieces alone
  const u64 piecesKey = HashKey;
  const u32 pawnsKey = PawnHashKey;

  LinePlayer::Load(START_FEN);
  line_.Play(E2, E4);
  EXPECT_NE(HashKey, piecesKey);
  MakeNullMove(record_);
  EXPECT_EQ(HashKey, piecesKey);
  EXPECT_EQ(PawnHashKey, pawnsKey);
  EXPECT_EQ(SideToMove, static_cast<u32>(WHITE));
  UnmakeNullMove(record_);
  EXPECT_EQ(EnPassantSquare, E3);
  EXPECT_EQ(HashKey, HistoryTop->key);
}

TEST_F(PlayedNullMoveTest, AnEnPassantSquareReadWithThePositionHasNoKeyToTakeAway) {
  LinePlayer::Load(AFTER_E4_LOADED);
  const WholePosition before = WholePosition::Take();
  MakeNullMove(record_);
  EXPECT_EQ(EnPassantSquare, 0);
  EXPECT_EQ(HashKey, before.basics.key);
  EXPECT_EQ(PawnHashKey, before.basics.pawnKey);
  UnmakeNullMove(record_);
  EXPECT_EQ(WholePosition::Take(), before);
}

TEST_F(PlayedNullMoveTest, MovesMadeAfterAPassUnwindToTheSamePosition) {
  LinePlayer::Load(START_FEN);
  line_.Play(E2, E4);
  const WholePosition before = WholePosition::Take();
  MakeNullMove(record_);
  line_.Play(D2, D4);
  line_.Play(G8, F6);
  MakeNullMove(secondRecord_);
  line_.Play(E4, E5);
  line_.TakeBack();
  UnmakeNullMove(secondRecord_);
  line_.TakeBack();
  line_.TakeBack();
  UnmakeNullMove(record_);
  EXPECT_EQ(WholePosition::Take(), before);
}

TEST_F(PlayedNullMoveTest, PassesInTheLineCountForRepetition) {
  LinePlayer::Load(START_FEN);
  line_.Play(G1, F3);
  MakeNullMove(record_);
  line_.Play(F3, G1);
  MakeNullMove(secondRecord_);
  EXPECT_EQ(History[1].move, MOVE_NULL);
  EXPECT_EQ(HistoryTop->fifty, 4);
  EXPECT_EQ(DrawCheck(1), GAME_REPETITION);  // the start again, white to move
  UnmakeNullMove(secondRecord_);
  line_.TakeBack();
  UnmakeNullMove(record_);
  line_.TakeBack();
}

}  // namespace
