// Loading FEN and EPD text: what is read, what is read as absent, what is refused leaving everything as it was.

#include "board_probe.h"
#include "search/think.h"

// Each text and the text written back after loading it (nullptr: itself).
TEST_F(BoardTest, WhatIsReadAndWhatIsReadAsAbsent) {
  Engine engine;
  Position& pos = engine.game;
  const std::pair<const char*, const char*> cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R b Kq -", nullptr},
      {"4k3/8/8/8/8/8/8/4R1K1 b - -", nullptr},          // the side to move may be in check
      {"4k3/4p3/8/8/8/8/8/4R1K1 w - -", nullptr},        // a blocked line is no check
      {"8/8/5Q2/2R4k/8/8/P5P1/6K1 b - - 0 51", "8/8/5Q2/2R4k/8/8/P5P1/6K1 b - -"},
      {"rnbqkbnrpppppppp8888PPPPPPPPRNBQKBNR w KQkq -", INITIAL_POSITION},  // 64 squares, no '/'
      {"  \t4k3/8/8/8/8/8/8/4K3 B - -", "4k3/8/8/8/8/8/8/4K3 b - -"},
      // Rights without their king and rook at home are dropped.
      {"r3k3/8/8/8/8/8/8/4K2R w KQkq -", "r3k3/8/8/8/8/8/8/4K2R w Kq -"},
      {"r3k2r/8/8/8/8/8/8/R2K3R w KQkq -", "r3k2r/8/8/8/8/8/8/R2K3R w kq -"},
      // Only an en-passant square that the last move can have made is kept.
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - e6", nullptr},
      {"4k3/8/8/8/3Pp3/8/8/4K3 b - d3", nullptr},
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - d6", "4k3/8/8/3Pp3/8/8/8/4K3 w - -"},  // no pawn in front
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - e3", "4k3/8/8/3Pp3/8/8/8/4K3 w - -"},  // wrong rank
      {"4k3/4n3/8/3Pp3/8/8/8/4K3 w - e6", "4k3/4n3/8/3Pp3/8/8/8/4K3 w - -"},  // e7 not empty
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - e9", "4k3/8/8/3Pp3/8/8/8/4K3 w - -"},
      {"4k3/8/8/3Pp3/8/8/8/4K3 w - e", "4k3/8/8/3Pp3/8/8/8/4K3 w - -"},
      // Every field after the side to move may be missing.
      {"4k3/8/8/8/8/8/8/4K2R w", "4k3/8/8/8/8/8/8/4K2R w - -"},
      {"4k3/8/8/8/8/8/8/4K2R w K", "4k3/8/8/8/8/8/8/4K2R w K -"},
      {"4k3/8/8/8/8/8/8/4K2R w -\n", "4k3/8/8/8/8/8/8/4K2R w - -"},
      // An EPD operation is read from the first 'a' or 'b' on, with a move of at most nine characters.
      {"4k3/8/8/8/8/8/8/4K3 w - - acd 10; bm Kd2;", "4k3/8/8/8/8/8/8/4K3 w - -"},
      {"4k3/8/8/8/8/8/8/4K3 w - - bm Kd2+!!!!!!;", "4k3/8/8/8/8/8/8/4K3 w - -"},
  };
  for (auto [text, written] : cases) {
    Load(pos, text);
    EXPECT_EQ(PositionText(pos), written ? written : text) << text;
    EXPECT_EQ(InvariantViolations(pos), "") << text;
    EXPECT_EQ(std::tuple(pos.EpdBestMove | pos.EpdAvoidMove, pos.GameSideToMove, pos.GameEnPassantSquare,
                         pos.GameCastleRights),
              std::tuple(NO_MOVE, pos.SideToMove, pos.EnPassantSquare, pos.CastleRights))
        << text;
  }
  Load(pos, INITIAL_POSITION);
  EXPECT_EQ(std::tuple(pos.TotalMaterial, pos.PieceMaterial[WHITE], pos.PieceMaterial[BLACK]), std::tuple(78, 31, 31));
  // The most material a game can reach: every pawn promoted to a queen.
  Load(pos, "qqqqqqqq/qrrbbnnk/8/8/8/8/QRRBBNNK/QQQQQQQQ w - -");
  EXPECT_EQ(std::tuple(pos.TotalMaterial, InvariantViolations(pos)), std::tuple(206, ""));
}

// The half-move clock of a FEN starts the history's count toward the fifty-move rule; an EPD line has none, and what is
// written back is the same either way.
TEST_F(BoardTest, TheHalfMoveClockIsReadWhenTheTextHasOne) {
  Engine engine;
  Position& pos = engine.game;
  const std::pair<const char*, int> cases[] = {
      {"4k3/8/8/8/8/8/8/R3K3 w - - 99 80", 99},  {"4k3/8/8/8/8/8/8/R3K3 w - - 7", 7},
      {"4k3/8/8/8/8/8/8/R3K3 w - -  \t12  3\n", 12}, {"4k3/8/8/8/8/8/8/R3K3 w - - 250 900", 100},
      {"4k3/8/8/8/8/8/8/R3K3 w - - 99999999999999999999 1", 100},
      {"4k3/8/8/8/8/8/8/R3K3 w - -", 0},          {"4k3/8/8/8/8/8/8/R3K3 w - - bm Ra8;", 0},
      {"4k3/8/8/8/8/8/8/R3K3 w - - 12a 3", 0},    {"4k3/8/8/8/8/8/8/R3K3 w - - -5 3", 0},
      {"4k3/8/8/8/8/8/8/R3K3 w", 0},
  };
  for (auto [text, clock] : cases) {
    Load(pos, INITIAL_POSITION);
    Load(pos, text);
    EXPECT_EQ(std::tuple(pos.HistoryTop - pos.History, pos.History[0].fifty), std::tuple(0, clock)) << text;
    EXPECT_EQ(PositionText(pos), "4k3/8/8/8/8/8/8/R3K3 w - -") << text;
  }
}

// Texts that do not parse and positions no game can reach: each is refused, and what was loaded before stays, the
// search's memory included.
TEST_F(BoardTest, RefusedTextsLeaveEverythingAsItWas) {
  Engine engine;
  Position& pos = engine.game;
  const char* refused[] = {
      "", "\n", "4k3/8/8/8/8/8/8/4K2R", "4k3/8/8/8/8/8/8/4K2R x", "4k3/8/8/8/8/8/8/4K2 w -",
      "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
      "rnbqkbnr/pppppppp/08/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq -",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKB.R w KQkq -",
      "8/8/8/8/8/8/8/8 w - -", "4k3/8/8/8/8/8/8/8 w - -", "4k3/8/8/8/8/8/8/3KK3 w - -",
      "4k2k/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - -", "4k3/pppppppp/p7/8/8/8/8/4K3 b - -",
      "P3k3/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/p3K3 w - -", "4k3/8/8/8/8/8/8/4K2p b - -",
      "QQQQQQQQ/QQQQQQQQ/QQ6/8/8/8/8/k1K5 b - -", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNQ w - -",
      // The side not to move in check, by each kind of piece, or the kings side by side.
      "4k3/8/8/8/8/8/8/4R1K1 w - -", "4k3/8/3N4/8/8/8/8/6K1 w - -", "4k3/3P4/8/8/8/8/8/6K1 w - -",
      "4k3/8/8/8/Q7/8/8/6K1 w - -", "8/8/8/8/8/3k4/3K4/8 w - -", "8/8/8/8/8/3k4/3K4/8 b - -",
  };
  Load(pos, INITIAL_POSITION);
  pos.HistoryTop = pos.History + 40;
  for (HistoryEntry* entry = pos.History; entry <= pos.HistoryTop; ++entry) *entry = {0x55, 0x66, 7};
  pos.GameMoveCount = 40;
  engine.searcher->SearchStack[PLY_RECORDS - 1].killer1 = 0x1234;
  PositionSnapshot before = TakePositionSnapshot(pos);
  for (const char* text : refused) {
    EXPECT_FALSE(LoadPosition(engine, text)) << text;
    EXPECT_EQ(Differences(before, TakePositionSnapshot(pos)), "") << text;
  }
  EXPECT_EQ(engine.searcher->SearchStack[PLY_RECORDS - 1].killer1, 0x1234);
  // A load that succeeds starts a new history and game and forgets the search's memory.
  Load(engine, "4k3/8/8/8/8/8/8/4K3 b - -");
  EXPECT_EQ(std::tuple(pos.HistoryTop, pos.History[0].key, pos.GameMoveCount, engine.searcher->SearchStack[PLY_RECORDS - 1].killer1),
            std::tuple(pos.History, pos.HashKey, 1, 0));
  EXPECT_EQ(pos.History[0].move | pos.History[0].fifty | pos.History[40].move, 0);
}
