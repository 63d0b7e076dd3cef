// Make and unmake: lines of every kind of move for both colours, keys checked on the way, then all taken back.

#include "board_probe.h"

// The keys recomputed: the pieces' keys, the en-passant key (a loaded square has none; after a make only a double step
// sets the square, always with its key), and the key of each right lost since the load, unless castling spent it.
static std::pair<u64, u32> ExpectedKeys(Position& pos, u16 rightsAtLoad, u16 spentByCastling, bool loaded = false) {
  const u64 enPassant = pos.EnPassantSquare && !loaded ? ZobristKeys[0][pos.EnPassantSquare] : 0;
  u64 key = enPassant, pawnKey = enPassant;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    const u64 piece = pos.Board[s] == EMPTY ? 0 : ZobristKeys[pos.Board[s]][s];
    key ^= piece;
    pawnKey ^= pos.Board[s] == WHITE_PAWN || pos.Board[s] == BLACK_PAWN ? piece : 0;
  }
  for (u16 right : {CASTLE_WHITE_SHORT, CASTLE_WHITE_LONG, CASTLE_BLACK_SHORT, CASTLE_BLACK_LONG}) {
    if ((rightsAtLoad & right) && !(pos.CastleRights & right) && !(spentByCastling & right)) key ^= CastleKey(right);
  }
  return {key, static_cast<u32>(pawnKey)};
}

TEST_F(BoardTest, LinesOfMovesEndOnTheirPositionAndUnwindToTheStart) {
  Position pos;
  const std::string corners = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", promoting = "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R ";
  // '*' stands for each promotion piece in turn, in the colour of the side that moves.
  const struct { std::string start, moves, end; } lines[] = {
      {INITIAL_POSITION, "e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0"},
      // A loaded en-passant square has no key to take out.
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", "g8f6 g1f3 f6g8 f3g1",
       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 4"},
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", "d7d5",
       "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0"},
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", "4k3/8/8/3P4/8/8/8/4K3 b - - 0"},
      {"4k3/8/8/3p4/4P3/8/8/4K3 b - -", "d5e4", "4k3/8/8/8/4p3/8/8/4K3 w - - 0"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0"},
      {"4k3/8/8/8/3Pp3/8/8/4K3 b - d3", "e4d3", "4k3/8/8/8/8/3p4/8/4K3 w - - 0"},
      // Rights lost by a capture on a corner, a king move and a rook move.
      {"r3k2r/8/8/8/8/8/1B6/R3K2R w KQkq -", "b2h8", "r3k2B/8/8/8/8/8/8/R3K2R b KQq - 0"},
      {"r3k2r/8/8/8/8/8/8/R3K2R w Kkq -", "e1e2 a8a1 h1h8", "4k2R/8/8/8/8/8/4K3/r7 b - - 0"},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8f8 a1a8", "R4k1r/8/8/8/8/8/8/4K2R b K - 0"},
      {corners, "e1g1 e8c8", "2kr3r/8/8/8/8/8/8/R4RK1 w - - 0"},
      {corners, "e1c1 e8g8", "r4rk1/8/8/8/8/8/8/2KR3R w - - 0"},
      {"4k3/1P6/8/8/8/8/6p1/4K3 w - -", "b7b8*", "1*2k3/8/8/8/8/8/6p1/4K3 b - - 0"},
      {"4k3/1P6/8/8/8/8/6p1/4K3 b - -", "g2g1*", "4k3/1P6/8/8/8/8/8/4K1*1 w - - 0"},
      {promoting + "w KQkq -", "b7a8*", "*3k2r/6P1/8/8/8/8/1p4p1/R3K2R b KQk - 0"},
      {promoting + "w KQkq -", "g7h8*", "r3k2*/1P6/8/8/8/8/1p4p1/R3K2R b KQq - 0"},
      {promoting + "b KQkq -", "b2a1*", "r3k2r/1P4P1/8/8/8/8/6p1/*3K2R w Kkq - 0"},
      {promoting + "b KQkq -", "g2h1*", "r3k2r/1P4P1/8/8/8/8/1p6/R3K2* w Qkq - 0"},
      // Whole games, and the fifty-move count over quiet moves, captures and pawn moves.
      {INITIAL_POSITION,
       "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 d2d4 e5d4 e4e5 d7d5 e5d6 d8d6 f1e1 c8e6 f3g5 e8c8",
       "2kr3r/ppp2ppp/2nqbn2/2b3N1/2Bp4/8/PPP2PPP/RNBQR1K1 w - - 0"},
      {"r2bk2r/1P6/8/8/2p5/8/1p1P4/R3K2R w KQkq -",
       "d2d4 c4d3 b7a8q b2a1n e1g1 d3d2 a8d8 e8d8 f1e1 d2d1q e1d1 d8e7", "7r/4k3/8/8/8/8/8/n2R2K1 w - - 1"},
      {"r3k2r/p7/8/8/8/8/P7/R3K1NR w KQkq -", "g1f3 e8d8 f3g1 a7a6 g1f3 h8h1 e1e2 d8c7 a1d1",
       "r7/2k5/p7/8/8/5N2/P3K3/3R3r b - - 3"},
  };
  for (const auto& line : lines) {
    bool white = line.start.find(" w ") != std::string::npos;
    for (char piece : std::string(line.moves.find('*') == std::string::npos ? "-" : "qnrb")) {
      std::string moves = line.moves, end = line.end;
      std::replace(moves.begin(), moves.end(), '*', piece);
      std::replace(end.begin(), end.end(), '*', white ? static_cast<char>(std::toupper(piece)) : piece);
      SCOPED_TRACE(line.start + " " + moves);
      Load(pos, line.start);
      const u16 rightsAtLoad = pos.CastleRights;
      EXPECT_EQ(std::pair(pos.HashKey, pos.PawnHashKey), ExpectedKeys(pos, rightsAtLoad, 0, true));
      u16 spentByCastling = 0;
      PositionSnapshot before = TakePositionSnapshot(pos);
      std::vector<std::pair<Move, UndoRecord>> made;
      std::istringstream words(moves);
      for (std::string word; words >> word;) {
        const Move move = ParseBoardMove(pos, word.c_str());
        ASSERT_TRUE(IsLegalMove(pos, move)) << word;
        SavePositionForUndo(pos, made.emplace_back(move, UndoRecord{}).second);
        spentByCastling |= IsCastling(move) ? CastlingOf(move).right : 0;
        MakeMove(pos, move, made.back().second);
        EXPECT_EQ(InvariantViolations(pos), "") << "after " << word;
        EXPECT_EQ(std::pair(pos.HashKey, pos.PawnHashKey), ExpectedKeys(pos, rightsAtLoad, spentByCastling))
            << "after " << word;
      }
      EXPECT_EQ(PositionText(pos) + " " + std::to_string(pos.HistoryTop->fifty), end);
      for (auto undo = made.rbegin(); undo != made.rend(); ++undo) UnmakeMove(pos, undo->first, undo->second);
      EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "");
    }
  }
}

// Kind 3 codes (the game results and the null move) are no moves.
TEST_F(BoardTest, MoveKindThreeIsAnInternalErrorThatChangesNothing) {
  Position pos;
  Load(pos, INITIAL_POSITION);
  PositionSnapshot before = TakePositionSnapshot(pos);
  UndoRecord record{};
  SavePositionForUndo(pos, record);
  for (Move code : {GAME_MATED, GAME_STALEMATE, GAME_REPETITION, GAME_FIFTY_MOVES, GAME_NO_MATERIAL, MOVE_NULL}) {
    EXPECT_THROW(MakeMove(pos, code, record), InternalError) << code;
    EXPECT_THROW(UnmakeMove(pos, code, record), InternalError) << code;
  }
  EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "");
}
