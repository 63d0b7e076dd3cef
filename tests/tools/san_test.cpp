// Standard algebraic notation: read in positions laid out by hand, in the
// moves of three hundred real games, and in the "bm" and "am" operations of
// EPD lines given to "setboard".
#include <gtest/gtest.h>

#include <string>

#include "board/check.h"
#include "board/move_validity.h"
#include "driver/game_move.h"
#include "movegen/move_stack.h"
#include "movegen/perft.h"
#include "pgn_test_files.h"
#include "support/engine_process.h"
#include "tools/san.h"

namespace {

const char* const INITIAL = INITIAL_POSITION;
const char* const CASTLES = "r3k2r/8/8/8/8/8/8/R3K2R w Qk -";
const char* const BLACK_CASTLES = "r3k2r/8/8/8/8/8/8/R3K2R b Qk -";
const char* const PROMOTES = "r1r4k/1P3P2/8/8/8/8/6p1/4K3 w - -";
const char* const BLACK_PROMOTES = "4k3/8/8/8/8/8/6p1/4K2R b - -";
const char* const KNIGHTS = "4k3/8/8/8/8/5N2/8/1N2K3 w - -";
const char* const PINNED_KNIGHT = "4k3/8/8/8/8/5N2/8/rN2K3 w - -";  // b1 shields its king
const char* const ROOKS = "k7/8/8/8/4R3/8/8/4RK2 w - -";
const char* const PAWNS = "4k3/8/8/3p4/2P1P3/8/8/4K3 b - -";

// The move a text should give is written in coordinates and read by the
// coordinate parser in the same position; "" is no move.
TEST(San, MovesOfEveryFormInPositionsLaidOutByHand) {
  InitBoardTables();
  struct Case {
    const char* position;
    const char* san;
    const char* expected;
  } const cases[] = {
      // Castling, with letter or digit, needs its right.
      {CASTLES, "O-O-O", "e1c1"}, {CASTLES, "0-0-0+", "e1c1"}, {CASTLES, "O-O", ""}, {CASTLES, "o-o-o", ""},
      {BLACK_CASTLES, "0-0", "e8g8"}, {BLACK_CASTLES, "O-O#", "e8g8"}, {BLACK_CASTLES, "O-O-O", ""},
      // Pawn pushes and captures; no pawn can stand behind the last three squares.
      {INITIAL, "e4", "e2e4"}, {INITIAL, "e3", "e2e3"}, {PAWNS, "d4", "d5d4"}, {PAWNS, "dxe4", "d5e4"},
      {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", "exf6", "e5f6"},
      {"4k3/8/8/8/8/2n5/1P1B4/4K3 w - -", "bxc3", "b2c3"}, {KNIGHTS, "e1", ""}, {KNIGHTS, "d2", ""},
      {BLACK_CASTLES, "d7", ""},
      // Promotions; the capturing pawn's file must neighbour its target's.
      {PROMOTES, "f8=Q", "f7f8q"}, {PROMOTES, "f8N", "f7f8n"}, {PROMOTES, "f8=b", "f7f8b"}, {PROMOTES, "f8", "f7f8"},
      {PROMOTES, "bxa8=Q", "b7a8q"}, {PROMOTES, "bxc8=N+", "b7c8n"}, {PROMOTES, "hxa8=Q", ""},
      {PROMOTES, "bxb8=Q", ""}, {PROMOTES, "Qxa8=Q", ""}, {PROMOTES, "bxa9=Q", ""},
      {BLACK_PROMOTES, "gxh1=R", "g2h1r"}, {BLACK_PROMOTES, "g1Q", "g2g1q"},
      // Pieces, told apart by file or rank, a pinned one passed over.
      {KNIGHTS, "Nbd2", "b1d2"}, {KNIGHTS, "N3xd2", "f3d2"}, {KNIGHTS, "Nd2", ""}, {KNIGHTS, "Ncd2", ""},
      {PINNED_KNIGHT, "Nd2", "f3d2"}, {PINNED_KNIGHT, "Nbd2", "b1d2"}, {ROOKS, "R1e2", "e1e2"}, {ROOKS, "Re2", ""},
      {ROOKS, "Ree2", ""}, {KNIGHTS, "Kg2", "e1g2"},  // the king is where it stands
      // Long algebraic; nine characters are read, the rest ignored.
      {INITIAL, "Ng1f3", "g1f3"}, {INITIAL, "g1-f3", "g1f3"}, {INITIAL, "e2-e4", "e2e4"},
      {PROMOTES, "f7f8q", "f7f8q"}, {PROMOTES, "f7-f8=R", "f7f8r"}, {"4k3/8/8/8/7Q/8/8/4r1K1 w - -", "Qh4xe1", "h4e1"},
      {KNIGHTS, "Nbd2+!?!?", "b1d2"}, {KNIGHTS, "Nb1d2!!!!X", "b1d2"}, {KNIGHTS, "++++++Nbd2", ""},
      {INITIAL, "e2e4abcde", ""},
      // Characters off the board name no square.
      {KNIGHTS, "", ""}, {KNIGHTS, "x", ""}, {KNIGHTS, "Zz9", ""}, {KNIGHTS, "e9", ""}, {KNIGHTS, "i4", ""},
      {KNIGHTS, "e0", ""}, {KNIGHTS, "`4", ""}, {KNIGHTS, "Ni3", ""}, {KNIGHTS, "N9d2", ""}, {KNIGHTS, "Nbi2", ""},
      {KNIGHTS, "ed9Q", ""}, {KNIGHTS, "`d8Q", ""}, {KNIGHTS, "id8Q", ""}, {KNIGHTS, "O-O-O-O", ""},
      {KNIGHTS, "e2e9", ""}, {KNIGHTS, "\xff\xfe", ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadPosition(c.position)) << c.position;
    const u64 key = HashKey;
    EXPECT_EQ(ParseSanMove(c.san), *c.expected ? ParseBoardMove(c.expected) : NO_MOVE) << c.san << " in " << c.position;
    EXPECT_EQ(HashKey, key) << c.san;
  }
}

// Each move is legal where it is played, each game lasts the plies its tags
// count, and those whose last comment says one side mates end in mate.
TEST(San, SelfPlayGamesReplayMoveByMove) {
  const std::string all = SelfPlayGames(300);
  int mates = 0, games = 0;
  for (size_t start = 0, end; start < all.size(); start = end, ++games) {
    end = std::min(all.find("[Event ", start + 1), all.size());
    const std::string text = all.substr(start, end - start);
    PgnReading read = ReadPgnText(text);
    ASSERT_EQ(read.games.size(), 1u) << text << read.error << read.output;
    const int plies = PlyCountOf(read.games[0].header);
    EXPECT_EQ(plies, std::stoi(text.substr(text.find("[PlyCount \"") + 11))) << text;
    ASSERT_TRUE(LoadPosition(INITIAL_POSITION));
    for (int ply = 0; ply < plies; ++ply) {
      ASSERT_TRUE(IsLegalMove(read.games[0].moves[ply])) << text << "ply " << ply;
      PlayGameMove(read.games[0].moves[ply]);
    }
    if (text.find(" mates}") != std::string::npos) {
      UndoRecord record;
      FindCheckers(record);
      UndoRecords[0].listEnd = MoveStack;  // perft's root list at the bottom of the move stack
      UndoTop = &UndoRecords[1];
      EXPECT_TRUE(record.checkers != 0 && Perft(1) == 0) << text;
      UndoTop = UndoRecords;
      ++mates;
    }
  }
  EXPECT_EQ(games, 300);
  EXPECT_EQ(mates, 28);
}

// "d" shows the move an EPD operation names. A move that cannot be read
// leaves the new position with a warning; a position that cannot stand is
// refused and the board before it stays.
TEST(EpdMove, SetboardKeepsTheMoveAndTellsTheTwoFailuresApart) {
  const std::string queens = "4k3/8/8/8/8/3Q4/K7/6q1";  // both queens reach g6
  const std::string kings = "4k3/8/8/8/8/8/8/4K3 w - -";
  struct Row {
    std::string line, fen, printed, shown;  // printed by setboard; shown by "d" after the key
  } const rows[] = {
      {queens + " b - - bm Qg6;", queens + " b - -", "", "bm: g1g6\n"},
      {queens + " w - - 0 1 bm Qg6+ Qd8; id \"x\";", queens + " w - -", "", "bm: d3g6\n"},
      {queens + " w - - am Qd3d8;", queens + " w - -", "", "am: d3d8\n"},
      // No terminator, or another operation's letter first: no operation.
      {queens + " b - - bm Qg6", queens + " b - -", "", ""},
      {queens + " b - - acd 10; bm Qg6;", queens + " b - -", "", ""},
      {queens + " b - - c0 \"a\"; bm Qg6;", queens + " b - -", "", ""},
      {kings + " bm Zz9;", kings, "Warning cannot recognize move: Zz9\r\n", ""},
      {"8/8/8/8/8/8/8/8 w - -", kings, "tellusererror Illegal position\n", ""},
  };
  std::string input;
  for (const Row& row : rows) input += "setboard " + row.line + "\nd\n";
  EngineRun run = RunEngine(input + "quit\n");
  const std::string& out = run.output;
  ASSERT_EQ(out.find("\n8 "), 0u) << out;
  for (size_t row = 0, at = 0; row < std::size(rows); ++row) {
    const size_t fen = out.find("FEN: ", at);
    ASSERT_NE(fen, std::string::npos) << rows[row].line << "\n" << out;
    EXPECT_EQ(out.substr(fen, rows[row].fen.size() + 11), "FEN: " + rows[row].fen + "\nKey: ") << rows[row].line;
    at = out.find('\n', fen + rows[row].fen.size() + 6) + 1;  // after the key
    const std::string next = row + 1 < std::size(rows) ? rows[row + 1].printed + "\n8 " : "";
    EXPECT_EQ(out.substr(at, rows[row].shown.size() + next.size()), rows[row].shown + next) << rows[row].line;
  }
  size_t logged = run.log.find("-M: tellusererror Illegal position\n");
  EXPECT_NE(run.log.find("-M: tellusererror Illegal position\n", logged + 1), std::string::npos) << run.log;
}

}  // namespace
