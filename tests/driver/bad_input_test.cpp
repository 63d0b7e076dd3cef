// Input that once broke the engine or a user's files: lenient move words, outputs that are their own inputs.

#include "board/position_text.h"
#include "driver/command_loop.h"
#include "support/command_feed.h"
#include "tools/pgn_test_files.h"

// A move word is exactly the text of a legal move: a promotion letter on a move that is no promotion, anything else
// after the squares, a king beside the other, castling through an attacked square, a pinned piece or a pawn on the last
// rank without a piece makes an illegal move that changes nothing. A real promotion is played.
TEST(BadInput, OnlyTheExactTextOfALegalMoveIsPlayed) {
  Engine engine;
  Position& pos = engine.game;
  InitBoardTables();
  const std::string castling = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", promotion = "4k3/P7/8/8/8/8/8/4K3 w - -",
                    kings = "8/8/8/3k4/8/3K4/8/8 w - -", attacked = "r3kr2/8/8/8/8/8/8/R3K2R w KQ -",
                    pinned = "4k3/8/8/8/4r3/8/4N3/4K3 w - -";
  const std::tuple<std::string, const char*, std::string> cases[] = {  // position, word, position after (empty: same)
      {INITIAL_POSITION, "g1f3q", ""}, {INITIAL_POSITION, "e2e4n", ""}, {INITIAL_POSITION, "e2e4x", ""},
      {INITIAL_POSITION, "g1f3Q", ""}, {INITIAL_POSITION, "g1f3qq", ""}, {castling, "e1g1q", ""},
      {castling, "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq -"}, {promotion, "a7a8Q", ""}, {promotion, "a7a8", ""},
      {promotion, "a7a8q", "Q3k3/8/8/8/8/8/8/4K3 b - -"}, {promotion, "a7a8n", "N3k3/8/8/8/8/8/8/4K3 b - -"},
      {kings, "d3d4", ""}, {kings, "d3e3", "8/8/8/3k4/8/4K3/8/8 b - -"}, {attacked, "e1g1", ""},
      {attacked, "e1c1", "r3kr2/8/8/8/8/8/8/2KR3R b - -"}, {pinned, "e2c3", ""},
      {pinned, "e1d1", "4k3/8/8/8/4r3/8/4N3/3K4 b - -"},
  };
  for (const auto& [position, word, after] : cases) {
    ASSERT_TRUE(LoadPosition(engine, position.c_str()));
    engine.State = ENGINE_FORCE;
    const std::string output = RunCommandsCapturingOutput(engine, word + std::string("\n"));
    char text[POSITION_TEXT_SIZE];
    WritePositionText(pos, text);
    EXPECT_EQ(std::pair(output, std::string(text)),
              std::pair(after.empty() ? "Illegal move: " + std::string(word) + "\n" : "", after.empty() ? position : after))
        << word;
  }
}

// No command writes over a file it reads: an output that is the input, by its name or through a link, is refused with
// the message for an output that cannot be opened, and the input keeps every byte.
TEST(FileSafety, NoCommandWritesOverTheFileItReads) {
  Engine engine;
  struct SelfOverwrite {
    const char* commands;
    std::vector<std::pair<const char*, const char*>> links;  // link name, the file it leads to
    const char* input;                                       // the file that must stay as it was
    std::string printed;
    const char* notCreated;                                  // a file the refusal must not leave behind
  };
  InitBoardTables();
  const SelfOverwrite cases[] = {
      {"pgn2pos C.pos", {{"C.pos", "a.pgn"}}, "a.pgn", "Cannot create POS output file: 'C.pos'\n", "0.pos"},
      {"pgn2game a.pgn a.pgn", {}, "a.pgn", "Cannot create GAME output file: 'a.pgn'\n", ""},
      {"pgn2game a.pgn out.game", {{"out.game", "a.pgn"}}, "a.pgn", "Cannot create GAME output file: 'out.game'\n", ""},
      {"pgnlist2game list list", {}, "list", "Cannot create GAME output file: 'list'\n", ""},
      {"pgnlist2game list a.pgn", {}, "a.pgn", "Cannot create GAME output file: 'a.pgn'\n\nCONVERTED GAMES: 0\n", ""},
      {"game2pgn g.game g.game", {}, "g.game", "Cannot create PGN output file: 'g.game'\n", ""},
      {"game2pos g.game out.pos", {{"out.pos", "g.game"}}, "g.game", "Cannot create DB output file: 'out.pos'\n", ""},
      {"dbcreate s_white.db s", {{"s_white.db", "s.pos"}}, "s.pos", "Cannot open file: s_white.db\n\n", "s_black.db"},
      // A book file that is the white database: the side whose file it is is refused, the other is built.
      {"bookcreate", {{"bookwtm.mbk", "white.db"}}, "white.db",
       "Generating bookbtm...\nbookbtm: 1.000000\nGenerating bookwtm...\nCannot create file: 'bookwtm.mbk'\ncreated.\n",
       "bookwtm.mbx"},
      {"bookcreate", {{"bookbtm.mbx", "white.db"}}, "white.db",
       "Generating bookbtm...\nCannot create index file: 'bookbtm.mbx'\nGenerating bookwtm...\nbookwtm: 1.000000\n"
       "created.\n",
       "bookbtm.mbk"},
  };
  for (const SelfOverwrite& c : cases) {
    InTempDir dir;
    WriteTextFile("a.pgn", WHITE_WON + "1. e4 e5 1-0\n");
    WriteTextFile("list", "a.pgn\n");
    WriteTextFile("s.pos", PositionText(1, START, 'W', 1) + PositionText(2, AFTER_E4, 'D', 2));
    WriteDatabase("white.db", {MakeRecord(1, 1, 0, 0, 1)});
    WriteDatabase("black.db", {MakeRecord(2, 1, 0, 0, 2)});
    RunCommandsCapturingOutput(engine, "pgn2game a.pgn g.game\n");
    for (const auto& [link, target] : c.links) std::filesystem::create_symlink(target, link);
    const std::string before = ReadFile(c.input);
    ASSERT_FALSE(before.empty()) << c.commands;
    EXPECT_EQ(RunCommandsCapturingOutput(engine, c.commands + std::string("\n")), c.printed) << c.commands;
    EXPECT_EQ(ReadFile(c.input), before) << c.commands;
    EXPECT_FALSE(*c.notCreated && std::filesystem::exists(c.notCreated)) << c.commands;
  }
}
