// Reading games: algebraic notation in hand-made positions, EPD operations and 300 real games; PGN texts of every kind.
#include <random>

#include "board/move_validity.h"
#include "engine/game.h"
#include "pgn_test_files.h"
#include "tools/san.h"

const std::string DRAWN = "[Event \"t\"]\n[Result \"1/2-1/2\"]\n\n";

// Each text is followed by the move it should give, in coordinates read in the same position ("-" for no move).
TEST(San, MovesOfEveryFormInPositionsLaidOutByHand) {
  Engine engine;
  Position& pos = engine.game;
  const std::pair<const char*, const char*> cases[] = {
      // Castling, with letter or digit, needs its right. Pawn pushes and captures; no pawn can stand behind the last
      // two squares. Long algebraic: nine characters are read, the rest ignored.
      {"r3k2r/8/8/8/8/8/8/R3K2R w Qk -", "O-O-O e1c1 0-0-0+ e1c1 O-O - o-o-o -"},
      {"r3k2r/8/8/8/8/8/8/R3K2R b Qk -", "O-O# e8g8 0-0-0 - d7 -"},
      {INITIAL_POSITION, "e4 e2e4 e3 e2e3 Ng1f3 g1f3 g1-f3 g1f3 e2e4abcde -"},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 b - -", "d4 d5d4 dxe4 d5e4"},
      {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", "exf6 e5f6"},
      {"4k3/8/8/8/8/2n5/1P1B4/4K3 w - -", "bxc3 b2c3"},
      // Promotions; the capturing pawn's file must neighbour its target's.
      {"r1r4k/1P3P2/8/8/8/8/6p1/4K3 w - -", "f8=Q f7f8q f8N f7f8n f8=b f7f8b f8 f7f8 bxa8=Q b7a8q hxa8=Q -"},
      {"r1r4k/1P3P2/8/8/8/8/6p1/4K3 w - -", "bxb8=Q - Qxa8=Q - f7-f8=R f7f8r"},
      {"4k3/8/8/8/8/8/6p1/4K2R b - -", "gxh1=R g2h1r g1Q g2g1q"},
      // Pieces, told apart by file or rank, a pinned one (b1 shields its king) passed over.
      {"4k3/8/8/8/8/5N2/8/1N2K3 w - -", "Nbd2 b1d2 N3xd2 f3d2 Nd2 - Ncd2 - Kg2 e1g2 e1 -"},
      {"4k3/8/8/8/8/5N2/8/1N2K3 w - -", "Nbd2+!?!? b1d2 Nb1d2!!!!X b1d2 ++++++Nbd2 -"},
      {"4k3/8/8/8/8/5N2/8/rN2K3 w - -", "Nd2 f3d2 Nbd2 b1d2"}, {"k7/8/8/8/4R3/8/8/4RK2 w - -", "R1e2 e1e2 Re2 -"},
      {"4k3/8/8/8/7Q/8/8/4r1K1 w - -", "Qh4xe1 h4e1"},
      // Characters off the board name no square.
      {INITIAL_POSITION, "x - Zz9 - e9 - i4 - e0 - `4 - Ni3 - N9d2 - Nbi2 - ed9Q - `d8Q - id8Q - O-O-O-O - e2e9 -"},
      {INITIAL_POSITION, "bxa9=Q - \xff\xfe -"},
  };
  for (const auto& [position, texts] : cases) {
    Load(pos, position);
    SCOPED_TRACE(position);
    std::istringstream in(texts);
    for (std::string san, move; in >> san >> move;) {
      const u64 key = pos.HashKey;
      EXPECT_EQ(ParseSanMove(pos, san.c_str()), move == "-" ? NO_MOVE : ParseBoardMove(pos, move.c_str())) << san;
      EXPECT_EQ(pos.HashKey, key) << san;
    }
  }
  EXPECT_EQ(ParseSanMove(pos, ""), NO_MOVE);
}

// An EPD move is kept only when it is legal where it stands, and "d" shows it (the first of several) for the side to
// move; one that cannot be read or played gets the warning of an unreadable move, and its position stays loaded.
TEST(EpdMove, AMoveIsKeptAndShownOnlyWhenItCanBePlayed) {
  Engine engine;
  const std::string queens = "4k3/8/8/8/8/3Q4/K7/6q1", kings = "4k3/8/8/8/8/8/8/4K3 w - -";  // both queens reach g6
  const std::pair<std::string, std::string> cases[] = {  // EPD text, what "d" shows of its move ("-": warned)
      {queens + " b - - bm Qg6;", "bm: g1g6"}, {queens + " w - - 0 1 bm Qg6+ Qd8; id \"x\";", "bm: d3g6"},
      {queens + " w - - am Qd3d8;", "am: d3d8"}, {kings + " bm Zz9;", "-"}, {kings + " bm Kd2;", "bm: e1d2"},
      {kings + " am Kg2;", "-"}, {std::string(INITIAL_POSITION) + " bm g1f3q;", "-"},
      {std::string(INITIAL_POSITION) + " bm e5;", "-"}, {std::string(INITIAL_POSITION) + " am Nf3;", "am: g1f3"},
      {"4k3/4r3/8/8/8/8/4N3/4K3 w - - bm Nf4;", "-"},
  };
  InitBoardTables();
  for (const auto& [text, shown] : cases) {
    const std::string output = RunCommandsCapturingOutput(engine, "setboard " + text + "\nd\n");
    size_t fields = 0;  // the end of the four fields of the position
    for (int field = 0; field < 4; ++field) fields = text.find(' ', fields + 1);
    const size_t move = text.find("m ") + 2, moveEnd = text.find_first_of(" ;", move);
    const std::string warning = "Warning cannot recognize move: " + text.substr(move, moveEnd - move);
    EXPECT_TRUE(output.starts_with(shown == "-" ? warning + "\r\n" : "\n8 ")) << output;
    EXPECT_NE(output.find("FEN: " + text.substr(0, fields) + "\nKey: "), std::string::npos) << output;
    EXPECT_TRUE(shown == "-" ? output.find("m: ") == std::string::npos : output.ends_with(shown + "\n")) << output;
    EXPECT_EQ(engine.LastLoadOutcome, shown == "-" ? LoadOutcome::EpdMoveNotRecognised : LoadOutcome::Loaded) << text;
  }
}

// Castling written with zeros begins like "0-1": it is a move whatever the result. Move numbers, NAGs, comments and
// variations, nested to any depth, are passed over. A game longer than a record holds keeps its first 1023 plies.
TEST(PgnReader, StoresMovesWithPlyCountAndResult) {
  Engine engine;
  Position& pos = engine.game;
  constexpr size_t DEEP = 200;
  const std::string deep = std::string(DEEP, '(') + "1... c5 {" + std::string(DEEP, '{') + "2. d4 " +
                           std::string(DEEP, '}') + " 2. Nf3}" + std::string(DEEP, ')');
  const std::string castles = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 Nf6 5. d3 d6 6. Bg5 0-0 ";
  const std::string castled = "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 d2d3 d7d6 c1g5 e8g8";
  std::string shuffle, shuffled;  // knights out and back, 1200 plies
  for (int i = 0; i < 300; ++i) shuffle += "Nf3 Nf6 Ng1 Ng8 ", shuffled += "g1f3 g8f6 f3g1 f6g8 ";
  const std::tuple<std::string, std::string, int, std::string> cases[] = {  // text, moves, result code and text
      {WHITE_WON + castles + "1-0\n", castled, RESULT_WHITE_WON, "W1-0"},
      {BLACK_WON + castles + "0-1\n", castled, RESULT_BLACK_WON, "B0-1"},
      {DRAWN + castles + "1/2-1/2", castled, RESULT_DRAW, "D1/2-1/2"},
      {BLACK_WON + "1. d4 d5 2. Nc3 Nc6 3. Bf4 Bf5 4. Qd2 Qd7 5. 0-0-0 0-0-0 0-1",
       "d2d4 d7d5 b1c3 b8c6 c1f4 c8f5 d1d2 d8d7 e1c1 e8c8", RESULT_BLACK_WON, "B0-1"},
      {WHITE_WON + "1.e4 $1 {a {nested} comment} e5\t(1... c5 (1... e6 2. d4) 2. Nf3)\r\n"
                   "2. Nf3!? $14 Nc6 3. Bb5+ {} 3... a6 (3... Nf6 {4. O-O}) 1-0",
       "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6", RESULT_WHITE_WON, "W1-0"},
      {"[Result \"*\"]\n1. e4 e5 *\n", "e2e4 e7e5", RESULT_UNFINISHED, "**"},
      {WHITE_WON + "1. e4 " + deep + " e5 2. Nf3 " + deep + " Nc6 1-0\n", "e2e4 e7e5 g1f3 b8c6", RESULT_WHITE_WON,
       "W1-0"},
      {DRAWN + shuffle + "1/2-1/2\n", shuffled.substr(0, 5 * MAX_GAME_PLIES - 1), RESULT_DRAW, "D1/2-1/2"},
  };
  for (const auto& [text, moves, code, result] : cases) {
    PgnReading read = ReadPgnText(pos, text);
    ASSERT_EQ(read.games.size(), 1u) << text << read.error << read.output;
    const GameRecord& game = read.games[0];
    EXPECT_EQ(std::tuple(MovesText(game), game.header, game.resultLetter + std::string(game.resultText)),
              std::tuple(moves, MakeGameHeader(int(moves.size() + 1) / 5, code), result));
    EXPECT_TRUE(read.boardRestored) << text;
  }
}

// Texts from anywhere end as games, skipped games and an error that ends the reading, the board at the initial
// position. Text that only begins like the result is a token that is no move: it skips its game.
TEST(PgnReader, EveryTextEndsAsGamesSkipsOrAnError) {
  Engine engine;
  Position& pos = engine.game;
  std::string binary = "\x01";
  std::minstd_rand random(7);
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(random());
  const std::string next = WHITE_WON + "1. d4 1-0";
  const std::tuple<const char*, std::string, size_t, int, std::string> cases[] = {  // games, skips, error
      {"empty", "", 0, 0, ""}, {"white space only", " \n\t\r\n", 0, 0, ""}, {"tags only", WHITE_WON, 0, 1, ""},
      {"no final line end", BLACK_WON + "1. e4 e5 0-1", 1, 0, ""}, {"no moves", WHITE_WON + "1-0\n" + next, 1, 1, ""},
      {"long tag line", "[Event \"" + std::string(100000, 'x') + "\"]\n[Result \"1-0\"]\n1. e4 1-0\n", 1, 0, ""},
      {"long token", WHITE_WON + "1. " + std::string(1000, 'N') + " e4 1-0\n" + next, 1, 1, ""},
      {"comment never closed", WHITE_WON + "1. e4 {e5 2. Nf3\n" + WHITE_WON, 1, 0, ""},
      {"variation never closed", WHITE_WON + "1. e4 (1. d4 d5\n" + WHITE_WON, 1, 0, ""},
      {"zero bytes", WHITE_WON + "1. e4 " + std::string(3, '\0') + " e5 1-0\n" + next, 1, 1, ""},
      {"no end marker", WHITE_WON + "1. e4 e5\n\n" + next, 1, 1, ""},
      {"like the result", WHITE_WON + "1. e4 e5 1-1\n\n" + next, 1, 1, ""},
      {"result tag unknown", "[Result \"?\"]\n1. e4 *\n" + next, 0, 0, "Result Error 1"},
      {"result tag empty", "[Result \"\"]\n1. e4 *\n" + next, 0, 0, "Result Error 1"},
      {"no result tag", "[Event \"x\"]\n1. e4 1-0\n" + next, 0, 0, "Result Error 2"},
      {"no tags", "1. e4 e5 1-0\n" + next, 0, 0, "Result Error 2"}, {"binary", binary, 0, 0, "Result Error 2"},
      {"unfinished game of a result", WHITE_WON + "1. e4 e5 *\n" + next, 0, 0, "Result * error"},
      {"a move no piece makes", WHITE_WON + "1. e4 e4 1-0\n" + next, 0, 0, "MOVE NOT LEGAL 1"},
      {"a pinned piece moved", WHITE_WON + "1. d4 e6 2. c4 Bb4+ 3. Nc3 Nf6 4. Nb5 1-0\n", 0, 0,
       "MOVE NOT LEGAL 2 - check revealed"},
  };
  for (const auto& [name, text, games, skipped, error] : cases) {
    PgnReading read = ReadPgnText(pos, text);
    EXPECT_EQ(std::tuple(read.games.size(), read.skipped, read.error, read.boardRestored),
              std::tuple(games, skipped, error, true)) << name;
  }
  // Real games with a few bytes changed or cut short.
  const std::string games = SelfPlayGames(8), marks = "[]{}()*01-/.\n $Q";
  for (int trial = 0; trial < 200; ++trial) {
    std::string text = games.substr(0, games.size() - random() % 200);
    for (int change = random() % 6; change > 0; --change) text[random() % text.size()] = marks[random() % 16];
    ASSERT_TRUE(ReadPgnText(pos, text).boardRestored) << "trial " << trial;
  }
}
