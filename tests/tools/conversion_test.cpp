// The conversion commands, fed to the command loop in this process and run by the built engine over pipes.

#include <filesystem>

#include "board/zobrist.h"
#include "pgn_test_files.h"
#include "search/trans_table.h"
#include "support/position_snapshot.h"
#include "support/resource_limit.h"
#include "tools/pgn_conversions.h"

const std::string BACK = std::string(8, '\b');

static std::string Finished(const std::string& pgnName, int converted, int skipped) {
  return "converted: " + std::to_string(converted) + " games. (skipped: " + std::to_string(skipped) +
         ")\nfile: " + pgnName + " \t\tfinished\n";
}

// The position line of the initial position, before the first move of a game.
static std::string InitialLine(Position& pos, char result) {
  ReadPositionText(pos, INITIAL_POSITION);
  return PositionText(pos.HashKey, INITIAL_POSITION, result, 1);
}

using Conversions = CommandsInAFolder;

// Forty real games take a header and two bytes a move, by their PlyCount tags; added again they are all skipped; back
// as PGN they convert to the same bytes. Position lines cover at most 64 plies a game (the first has 140), are
// appended, and leave the board at the initial position.
TEST_F(Conversions, GamesSurviveTheTripThroughPgnAndAreAddedOnce) {
  Engine engine;
  Position& pos = engine.game;
  const std::string pgn = SelfPlayGames(40);
  WriteTextFile("a.pgn", pgn);
  EXPECT_EQ(Run(pos, "pgn2game a.pgn a.game"), Finished("a.pgn", 40, 0));
  const std::string stored = ReadFile("a.game");
  size_t bytes = 0, positions = 0;
  for (size_t at = pgn.find("[PlyCount \""); at != std::string::npos; at = pgn.find("[PlyCount \"", at + 1)) {
    const size_t plies = std::stoul(pgn.substr(at + 11));
    bytes += 2 * (plies + 1);
    positions += std::min<size_t>(plies, 64);
  }
  EXPECT_EQ(stored.size(), bytes);
  EXPECT_EQ(stored.substr(0, 4), "\x8c\x80\xe3\x0c");  // 140 plies, white won; d2d4 from square 51 to 35
  EXPECT_TRUE(
      Run(pos, "pgn2game a.pgn a.game").ends_with("game 40 (skipped) file: a.pgn\n" + Finished("a.pgn", 0, 40)));
  EXPECT_EQ(ReadFile("a.game"), stored);

  EXPECT_TRUE(Run(pos, "game2pgn a.game b.pgn").ends_with(BACK + "100%]...OK\nconverted: 40 games.\n"));
  EXPECT_TRUE(ReadFile("b.pgn").starts_with("[Result \"1-0\"]\n1. d2d4 e7e6 2. g1f3 c7c5 3. b1c3 "));
  EXPECT_EQ(Run(pos, "pgn2game b.pgn b.game"), Finished("b.pgn", 40, 0));
  EXPECT_EQ(ReadFile("b.game"), stored);
  EXPECT_TRUE(Run(pos, "game2pos a.game a.pos").ends_with(BACK + "100%]...\tOK\nconverted: 40 games.\n"));
  const std::vector<std::string> lines = Lines(ReadFile("a.pos"));
  ASSERT_EQ(lines.size(), positions);
  EXPECT_EQ(lines[0] + "\n", InitialLine(pos, 'W'));
  EXPECT_EQ(lines[1].substr(17), "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3\tW\t2");
  EXPECT_TRUE(lines[63].ends_with("\tW\t64") && lines[64].ends_with("\t1")) << lines[63] << "\n" << lines[64];
  Run(pos, "e2e4\ngame2pos a.game a.pos");
  EXPECT_EQ(Lines(ReadFile("a.pos")).size(), 2 * positions);
  EXPECT_TRUE(AtLoadedPosition(pos));
}

// A token that is no move, an unfinished game, a stored move that is not legal: each skips its game, no more.
TEST_F(Conversions, GamesThatCannotBeReadAreSkippedAndCorruptFilesRefused) {
  Engine engine;
  Position& pos = engine.game;
  WriteTextFile("a.pgn", WHITE_WON + "1. e4 e5 1-0\n\n" + WHITE_WON + "1. d4 d5 2. c4 Zz9\n3. e3 1-0\n\n" +
                             "[Result \"*\"]\n1. e4 *\n\n" + WHITE_WON + "1. c4 1-0\n");
  EXPECT_EQ(Run(pos, "pgn2game a.pgn a.game"),
            "move: Zz9, plyNo:4\nWarning: game 2 (skipped) file: a.pgn\n"
            "Warning: game 3 (skipped) file: a.pgn\n" +
                Finished("a.pgn", 2, 2));
  EXPECT_EQ(Run(pos, "game2pgn a.game b.pgn"),
            "Converting 2 games [  0%]..." + BACK + " 50%]..." + BACK + "100%]...OK\nconverted: 2 games.\n");
  Run(pos, "game2pgn a.game b.pgn");
  const std::string games = "[Result \"1-0\"]\n1. e2e4 e7e5 1-0\n[Result \"1-0\"]\n1. c2c4 1-0\n";
  EXPECT_EQ(ReadFile("b.pgn"), games + games);

  std::string bytes = ReadFile("a.game");
  bytes[4] = '\x1b';  // the second move of the first game becomes e7d5
  WriteTextFile("a.game", bytes);
  EXPECT_EQ(Run(pos, "game2pos a.game a.pos"), "Converting 2 games [  0%]...Warning: game 1 (skipped) file: a.game\n" +
                                                   BACK + " 50%]..." + BACK + "100%]...\tOK\nconverted: 1 games.\n");
  EXPECT_EQ(ReadFile("a.pos"), InitialLine(pos, 'W'));

  // Damage in a game file, and the game where it begins: one more ply than a game holds, its moves all there; game 2
  // cut inside its moves or its header, or of result code 0.
  const std::string tooLong = LittleEndian(MakeGameHeader(MAX_GAME_PLIES + 1, RESULT_DRAW), 2) + std::string(2048, 'x');
  std::string unfinished = bytes;
  unfinished[7] &= 0x3f;
  for (const auto& [damaged, game] : {std::pair{tooLong, 1}, {bytes.substr(0, 9), 2}, {bytes.substr(0, 7), 2},
                                      {unfinished, 2}}) {
    WriteTextFile("a.game", damaged);
    const std::string message = "Game file corrupted! (error on game: " + std::to_string(game) + ")";
    EXPECT_EQ(Run(pos, "pgn2game a.pgn a.game"), message + "\n");
    EXPECT_EQ(ReadFile("a.game"), damaged);
    EXPECT_EQ(Run(pos, "game2pgn a.game c.pgn") + Run(pos, "game2pos a.game c.pos"), message + message);
  }
}

// Listed files go into one game file until a reader error. A game file that cannot take the games is reported, not
// counted as written: /dev/full reads as zeros, a folder does not open, a full disk refuses the bytes of the games
// (when they are written, or at the end when they are flushed).
TEST_F(Conversions, ListedFilesAndGameFilesThatCannotBeWritten) {
  Engine engine;
  Position& pos = engine.game;
  WriteTextFile("a.pgn", SelfPlayGames(3));
  WriteTextFile("b.pgn", WHITE_WON + "1. e4 1-0\n" + WHITE_WON + "1. d4 1-0\n");
  WriteTextFile("bad.pgn", "[Result \"?\"]\n1. e4 *\n");
  WriteTextFile("list", "a.pgn\n\nmissing.pgn\n \t b.pgn \t\r\nbad.pgn\na.pgn\n");  // blanks around a name
  EXPECT_EQ(Run(pos, "pgnlist2game list all.game"),
            Finished("a.pgn", 3, 0) + "Cannot open PGN input file: 'missing.pgn'\n" + Finished("b.pgn", 2, 0) +
                "converted: 0 games. (skipped: 0)\nERROR: Result Error 1 file: bad.pgn\n\nCONVERTED GAMES: 5\n");
  EXPECT_EQ(Run(pos, "pgnlist2game nolist all.game"), "Cannot open PGN input file: 'nolist'\n");

  WriteTextFile("forty.pgn", SelfPlayGames(40));
  EXPECT_EQ(Run(pos, "pgn2game forty.pgn /dev/full"), "Game file corrupted! (error on game: 1)\n");
  std::filesystem::create_directory("folder");
  EXPECT_EQ(Run(pos, "pgn2game forty.pgn folder"), "Cannot create GAME output file: 'folder'\n");
  Run(pos, "pgn2game a.pgn c.game");
  const std::string three = ReadFile("c.game");
  std::string written, flushed;
  {
    ResourceLimit full(RLIMIT_FSIZE, 1024);
    written = Run(pos, "pgn2game forty.pgn a.game");
    ResourceLimit noMore(RLIMIT_FSIZE, three.size());  // more than the messages
    flushed = Run(pos, "pgn2game b.pgn c.game");
  }
  // The disk fills up within the fourth game: three whole games stay, counted, and the file reads back whole.
  EXPECT_TRUE(written.ends_with("converted: 3 games. (skipped: 0)\nERROR: GAME FILE NOT WRITTEN file: forty.pgn\n"))
      << written;
  EXPECT_TRUE(Run(pos, "game2pgn a.game d.pgn").ends_with("converted: 3 games.\n"));
  EXPECT_TRUE(flushed.ends_with("converted: 0 games. (skipped: 0)\nERROR: GAME FILE NOT WRITTEN file: b.pgn\n"))
      << flushed;
  EXPECT_EQ(ReadFile("c.game"), three);
}

// "pgn2pos" empties its sixteen files at each run and splits the lines of "game2pos" by the first digit of their key.
// A game whose second move is not legal shows the board before it and ends its conversion; the next command finds the
// initial position. (The chain on to the books is the makebook test's.)
TEST(ConversionChain, PositionsSplitByKeyAndAnIllegalMoveShownOverPipes) {
  Engine engine;
  TempDir dir;
  WriteTextFile(dir.File("games.pgn"), SelfPlayGames(100));
  WriteTextFile(dir.File("bad.pgn"), "[Result \"1-0\"]\n1. e4 1-0\n\n[Result \"1-0\"]\n1. e4 e4 2. Nf3 1-0\n");
  EngineRun convert = RunEngine("pgn2pos games.pgn\npgn2game games.pgn games.game\ngame2pos games.game games.pos\n"
                                "pgn2pos games.pgn\nnew\nforce\nd2d4\npgn2game bad.pgn bad.game\nd\nquit\n",
                                dir.Path());
  const std::string finished = Finished("games.pgn", 100, 0);
  EXPECT_TRUE(convert.output.starts_with(finished + finished)) << convert.output;
  EXPECT_NE(convert.log.find("<<< OK:\tgames.pgn\t>>>"), std::string::npos) << convert.log;
  const std::string afterE4 = "\n4 . . . . P . . . \n3 . . . . . . . . \n2 P P P P . P P P \n";
  const size_t error = convert.output.find(afterE4 + "1 R N B Q K B N R \n\n  A B C D E F G H\nmove: e4, plyNo:2\n"
                                           "converted: 1 games. (skipped: 0)\nERROR: MOVE NOT LEGAL 1 file: bad.pgn\n");
  const std::string initial = "FEN: " + std::string(INITIAL_POSITION) + "\n";
  EXPECT_TRUE(error != std::string::npos && convert.output.find(initial, error) != std::string::npos) << convert.output;
  EXPECT_NE(convert.log.find("e4MOVE NOT LEGAL 1\nconverted: 1\tskipped: 0\nERROR: MOVE NOT LEGAL 1\n"),
            std::string::npos) << convert.log;
  EXPECT_EQ(std::filesystem::file_size(dir.File("bad.game")), 4u);
  const std::string positions = ReadFile(dir.File("games.pos"));
  std::string split;
  for (char digit : std::string("0123456789ABCDEF")) {
    const std::string lines = ReadFile(dir.File(digit + std::string(".pos")));
    for (const std::string& line : Lines(lines)) EXPECT_EQ(line[0], digit) << line;
    split += lines;
  }
  EXPECT_EQ(Lines(split, true), Lines(positions, true));
}

// A conversion that reads games loads the start position and, like every load, makes the search forget what it
// learnt; one whose input cannot be opened loads nothing and the table keeps its entry.
TEST_F(Conversions, TheSearchForgetsWhatItLearntWhenAConversionLoads) {
  Engine engine;
  Position& pos = engine.game;
  const char* position = "4k3/8/8/8/8/8/8/R3K3 w - -";
  const Move stored = MakeMoveCode(A1, A8, KIND_QUIET);
  WriteTextFile("a.pgn", WHITE_WON + "1. e4 e5 1-0\n");
  const std::pair<const char*, bool> cases[] = {  // command, loads a position
      {"pgn2game a.pgn a.game", true}, {"pgn2game missing.pgn b.game", false},
      {"game2pos a.game a.pos", true}, {"game2pos missing.game b.pos", false},
      {"pgn2pos a.pgn", true},         {"pgn2pos missing.pgn", false},
      {"makebook a.pgn into book", true}, {"makebook missing.pgn into other", false},
  };
  for (const auto& [command, loads] : cases) {
    Load(pos, position);
    pos.UndoTop = pos.UndoRecords;
    StoreTransTable(pos, stored, 10, 3, BOUND_EXACT);
    Run(pos, command);
    ASSERT_TRUE(SetUpPosition(pos, position));  // the position again, without a load
    const std::optional<TransEntry> entry = ProbeTransTable(pos);
    EXPECT_EQ(entry ? EntryMove(*entry) : NO_MOVE, loads ? NO_MOVE : stored) << command;
  }
  Load(pos, INITIAL_POSITION);
}

// A tool reads its games on a position of its own: a game's position, between two of its moves, is left as it was.
TEST_F(Conversions, AToolRunBetweenTwoMovesLeavesTheGameAlone) {
  Position game;
  Load(game, INITIAL_POSITION);
  UndoRecord first{}, second{};
  MakeMove(game, ParseBoardMove(game, "e2e4"), first);
  const PositionSnapshot before = TakePositionSnapshot(game);
  WriteTextFile("games.pgn", SelfPlayGames(3));
  CaptureOutput([this] { PgnToPos(pos, "games.pgn"); });
  EXPECT_GT(std::filesystem::file_size("0.pos") + std::filesystem::file_size("8.pos"), 0u);
  EXPECT_EQ(Differences(before, TakePositionSnapshot(game)), "");
  MakeMove(game, ParseBoardMove(game, "e7e5"), second);
  Position fresh;
  Load(fresh, "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
  EXPECT_EQ(game.HashKey ^ ZobristKeys[EN_PASSANT_KEY_ROW][E6], fresh.HashKey);  // a double step keys its square
}
