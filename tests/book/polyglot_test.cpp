// Polyglot books: the keys of the format's nine documented positions, the move field, books written here byte by byte
// (looked up, refused when broken, drawn from by weight), and the engine playing from one over pipes.
#include "board/position.h"
#include "book/polyglot_book.h"
#include "book/polyglot_choice.h"
#include "book/polyglot_key.h"
#include "book/book_move.h"
#include "book/polyglot_builder.h"
#include "book_test_files.h"
#include "support/move_probe.h"

namespace {

// The test positions of the format's description: the moves from the initial position, the FEN, the key.
const struct {
  const char* moves;
  const char* fen;
  u64 key;
} DocumentedKeys[] = {
    {"", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 0x463b96181691fc9c},
    {"e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", 0x823c9b50fd114196},
    {"e2e4 d7d5", "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6", 0x0756b94461c50fb0},
    {"e2e4 d7d5 e4e5", "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR b KQkq -", 0x662fafb965db29d4},
    // Now the white pawn on e5 can take en passant: the file counts.
    {"e2e4 d7d5 e4e5 f7f5", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", 0x22a48b5a8e47ff78},
    {"e2e4 d7d5 e4e5 f7f5 e1e2", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR b kq -", 0x652a607ca3f242c1},
    {"e2e4 d7d5 e4e5 f7f5 e1e2 e8f7", "rnbq1bnr/ppp1pkpp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR w - -", 0x00fdd303c946bdd9},
    {"a2a4 b7b5 h2h4 b5b4 c2c4", "rnbqkbnr/p1pppppp/8/8/PpP4P/8/1P1PPPP1/RNBQKBNR b KQkq c3", 0x3c8123ea7b067637},
    {"a2a4 b7b5 h2h4 b5b4 c2c4 b4c3 a1a3", "rnbqkbnr/p1pppppp/8/8/P6P/R1p5/1P1PPPP1/1NBQKBNR b Kkq -",
     0x5c3f9b829b279560},
};

// Plays the moves (coordinate texts between blanks) from the initial position; false at the first illegal one.
bool PlayFromStart(Position& pos, const std::string& moves) {
  Load(pos, START);
  std::istringstream words(moves);
  for (std::string word; words >> word;) {
    const Move move = LegalMoveNamed(pos, word);
    if (move == NO_MOVE) return false;
    SavePositionForUndo(pos, pos.UndoRecords[0]);
    MakeMove(pos, move, pos.UndoRecords[0]);
  }
  return true;
}

std::vector<std::pair<std::string, u32>> Named(const std::vector<WeightedMove>& moves) {
  std::vector<std::pair<std::string, u32>> named;
  for (const WeightedMove& move : moves) named.emplace_back(MoveText(move.move), move.weight);
  return named;
}

}  // namespace

// Each key from the FEN loaded and from the moves played: the en-passant file only where a pawn can take.
TEST(PolyglotKey, TheNineDocumentedPositions) {
  Position pos;
  for (const auto& position : DocumentedKeys) {
    SCOPED_TRACE(position.fen);
    Load(pos, position.fen);
    EXPECT_EQ(PolyglotKey(pos), position.key);
    ASSERT_TRUE(PlayFromStart(pos, position.moves));
    EXPECT_EQ(PolyglotKey(pos), position.key);
  }
  // The en-passant square against none: its file counts only beside a pawn of the side to move, even one that may
  // not take (the capture would leave its king to the rook).
  const struct {
    const char* withSquare;
    const char* without;
    int file;  // -1: the square adds nothing
  } passant[] = {
      {"4k3/8/8/2pP4/8/8/8/4K3 w - c6", "4k3/8/8/2pP4/8/8/8/4K3 w - -", 2},
      {"4k3/8/8/2p5/3P4/8/8/4K3 w - c6", "4k3/8/8/2p5/3P4/8/8/4K3 w - -", -1},
      {"4k3/8/8/1pp5/8/8/8/4K3 w - c6", "4k3/8/8/1pp5/8/8/8/4K3 w - -", -1},
      {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "4k3/8/8/8/3pP3/8/8/4K3 b - -", 4},
      {"8/8/8/8/R2pP2k/8/8/4K3 b - e3", "8/8/8/8/R2pP2k/8/8/4K3 b - -", 4},
      {"4k3/8/8/8/P6p/8/8/4K3 b - a3", "4k3/8/8/8/P6p/8/8/4K3 b - -", -1},
  };
  for (const auto& position : passant) {
    Load(pos, position.withSquare);
    ASSERT_NE(pos.EnPassantSquare, 0) << position.withSquare;
    const u64 withSquare = PolyglotKey(pos);
    Load(pos, position.without);
    EXPECT_EQ(withSquare ^ PolyglotKey(pos), position.file < 0 ? 0 : PolyglotRandom[772 + position.file])
        << position.withSquare;
  }
}

// Castling as the king taking its rook, promotions in bits 12-14 (knight 1, bishop 2, rook 3, queen 4), each back to
// our move in the position; a field that is no legal move there stands for none.
TEST(PolyglotMove, FieldsOfEveryKindAndBack) {
  Position pos;
  const struct {
    std::string fen;
    const char* move;
    u16 field;
  } cases[] = {
      {START, "e2e4", PolyglotField("e2", "e4")},
      {START, "g1f3", PolyglotField("g1", "f3")},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1g1", PolyglotField("e1", "h1")},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1c1", PolyglotField("e1", "a1")},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8g8", PolyglotField("e8", "h8")},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8c8", PolyglotField("e8", "a8")},
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", "a7a8n", PolyglotField("a7", "a8", 1)},
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", "a7a8b", PolyglotField("a7", "a8", 2)},
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", "a7a8r", PolyglotField("a7", "a8", 3)},
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", "a7a8q", PolyglotField("a7", "a8", 4)},
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", "a7b8n", PolyglotField("a7", "b8", 1)},
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", "a7b8q", PolyglotField("a7", "b8", 4)},
      {"4k3/8/8/8/8/8/7p/4K1N1 b - -", "h2h1b", PolyglotField("h2", "h1", 2)},
      {"4k3/8/8/8/8/8/7p/4K1N1 b - -", "h2g1r", PolyglotField("h2", "g1", 3)},
      {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", "e5f6", PolyglotField("e5", "f6")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fen + " " + c.move);
    Load(pos, c.fen);
    const Move move = LegalMoveNamed(pos, c.move);
    ASSERT_NE(move, NO_MOVE);
    EXPECT_EQ(PolyglotMoveOf(move), c.field);
    EXPECT_EQ(MoveOfPolyglot(pos, c.field), move);
  }
  const struct {
    std::string fen;
    u16 field;
  } none[] = {
      {START, 0},                                                          // a1a1
      {START, PolyglotField("e2", "e5")},                                  // no such move
      {START, PolyglotField("e2", "e4", 4)},                               // a promotion where there is none
      {"r3k2r/8/8/8/8/8/8/R3K2R w Qkq -", PolyglotField("e1", "h1")},      // the right is gone
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", PolyglotField("e1", "g1")},     // castling is written king takes rook
      {"r3k2r/8/8/8/8/8/8/R4RK1 w kq -", PolyglotField("e1", "h1")},       // no king on e1
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", PolyglotField("a7", "a8")},         // a promotion needs its piece
      {"4k3/8/8/8/8/8/4r3/4K3 w - -", PolyglotField("e1", "f2")},          // into check
  };
  for (const auto& c : none) {
    Load(pos, c.fen);
    EXPECT_EQ(MoveOfPolyglot(pos, c.field), NO_MOVE) << c.fen << " " << c.field;
  }
}

class PolyglotBooks : public testing::Test {
 protected:
  InTempDir dir_;
  PolyglotBook book_;
};

// Keys at both ends of the file, a key held three times (in the file's order), keys not held below, between and
// above; every field read from its own bytes.
TEST_F(PolyglotBooks, EntriesOfAKeyAreFoundInTheFilesOrder) {
  const u64 first = 0x0000000000000001, shared = 0x8000000000000000, last = 0xffffffffffffffff;
  std::vector<PolyglotRow> rows = {{first, 1, 10}, {0x10, 2, 20}, {shared, 3, 30}, {shared, 4, 0}, {shared, 5, 50}};
  for (u64 key = 0x9000000000000000; key < 0x9000000000000040; ++key) rows.push_back({key, 6, 60});
  rows.push_back({last, 0x7fff, 0xffff});
  WriteTextFile("small.bin", PolyglotBytes(rows));
  ASSERT_TRUE(book_.Open("small.bin")) << book_.Message().Text();
  EXPECT_EQ(book_.EntryCount(), rows.size());
  auto entriesOf = [&](u64 key) {
    std::vector<PolyglotRow> found;
    for (const PolyglotEntry& entry : book_.EntriesOf(key)) {
      EXPECT_EQ(entry.learn, static_cast<u32>(key));
      found.push_back({entry.key, entry.move, entry.weight});
    }
    return PolyglotBytes(found);
  };
  EXPECT_EQ(entriesOf(first), PolyglotBytes({{first, 1, 10}}));
  EXPECT_EQ(entriesOf(shared), PolyglotBytes({{shared, 3, 30}, {shared, 4, 0}, {shared, 5, 50}}));
  EXPECT_EQ(entriesOf(last), PolyglotBytes({{last, 0x7fff, 0xffff}}));
  EXPECT_EQ(entriesOf(0x9000000000000021), PolyglotBytes({{0x9000000000000021, 6, 60}}));
  for (u64 absent : {u64{0}, u64{0x11}, shared - 1, shared + 1, u64{0x9000000000000040}, last - 1}) {
    EXPECT_TRUE(book_.EntriesOf(absent).empty()) << std::hex << absent;
  }
}

// A file that cannot be a book is refused with a message naming it and why; a book open before is closed.
TEST_F(PolyglotBooks, BrokenFilesAreRefusedWithAMessage) {
  const std::string entry = PolyglotBytes({{0x463b96181691fc9c, PolyglotField("e2", "e4"), 1}});
  std::filesystem::create_directory("folder.bin");
  WriteTextFile("good.bin", entry + entry);
  WriteTextFile("cut.bin", entry + entry + entry.substr(0, 9));
  WriteTextFile("short.bin", entry.substr(0, 15));
  WriteTextFile("empty.bin", "");
  WriteTextFile("unsorted.bin", PolyglotBytes({{5, 1, 1}, {9, 1, 1}, {7, 1, 1}}));
  const std::pair<const char*, const char*> cases[] = {
      {"missing.bin", "Polyglot book 'missing.bin' cannot be opened: No such file or directory"},
      {"folder.bin", "Polyglot book 'folder.bin' is a folder"},
      {"cut.bin", "Polyglot book 'cut.bin' is cut short: 41 bytes, not a whole number of 16-byte entries"},
      {"short.bin", "Polyglot book 'short.bin' is cut short: 15 bytes, not a whole number of 16-byte entries"},
      {"empty.bin", "Polyglot book 'empty.bin' is empty"},
      {"unsorted.bin", "Polyglot book 'unsorted.bin' is not sorted by key"},
  };
  for (const auto& [name, message] : cases) {
    ASSERT_TRUE(book_.Open("good.bin")) << book_.Message().Text();
    EXPECT_FALSE(book_.Open(name)) << name;
    EXPECT_EQ(std::string(book_.Message().Text()), message);
    EXPECT_FALSE(book_.IsOpen());
    EXPECT_TRUE(book_.EntriesOf(0x463b96181691fc9c).empty());
  }
}

// The start position's legal moves with their weights added up, in the book's order; entries that are no legal move
// passed over. Each draw from 0 to the total less 1 picks a move, each move as often as its weight says, one of weight
// 0 never; weights adding up to 0 pick nothing.
TEST_F(PolyglotBooks, MovesAreDrawnInProportionToTheirWeights) {
  Position pos;
  const u64 start = 0x463b96181691fc9c;
  WriteTextFile("start.bin", PolyglotBytes({{start - 1, PolyglotField("a2", "a3"), 100},
                                            {start, PolyglotField("d2", "d4"), 3},
                                            {start, PolyglotField("e2", "e5"), 100},  // not legal
                                            {start, PolyglotField("e2", "e4"), 5},
                                            {start, PolyglotField("g1", "f3"), 0},
                                            {start, PolyglotField("d2", "d4"), 2},
                                            {start, 0, 100},  // a1a1
                                            {start + 1, PolyglotField("b2", "b3"), 100}}));
  ASSERT_TRUE(book_.Open("start.bin")) << book_.Message().Text();
  Load(pos, START);
  const std::vector<WeightedMove> moves = PolyglotMoves(pos, book_);
  EXPECT_EQ(Named(moves), (std::vector<std::pair<std::string, u32>>{{"d2d4", 5}, {"e2e4", 5}, {"g1f3", 0}}));
  std::map<std::string, int> picked;
  for (u64 draw = 0; draw < 10; ++draw) ++picked[MoveText(PickByWeight(moves, draw + 10 * draw))];
  EXPECT_EQ(picked, (std::map<std::string, int>{{"d2d4", 5}, {"e2e4", 5}}));
  EXPECT_EQ(PickByWeight({{LegalMoveNamed(pos, "g1f3"), 0}}, 7), NO_MOVE);
  EXPECT_EQ(PickByWeight({}, 7), NO_MOVE);
  Load(pos, AFTER_E4);
  EXPECT_TRUE(PolyglotMoves(pos, book_).empty());
}

// The engine over pipes, in a folder holding a Polyglot book written here (and no book of its own): UCI and xboard
// play its moves, the illegal entry and the move of weight 0 never; "bk" shows the shares; OwnBook off switches it
// off; a book cut short is reported and the engine plays on, searching.
TEST(PolyglotEngine, BothProtocolsPlayFromTheBookFile) {
  TempDir dir;
  const u64 start = 0x463b96181691fc9c, afterE4 = 0x823c9b50fd114196;
  const std::string book = PolyglotBytes({{afterE4, PolyglotField("e7", "e5"), 2},
                                          {start, PolyglotField("e2", "e4"), 3},
                                          {start, PolyglotField("e2", "e5"), 500},
                                          {start, PolyglotField("d2", "d4"), 1},
                                          {start, PolyglotField("g1", "f3"), 0}});
  WriteTextFile(dir.File("book.bin"), book.substr(16) + book.substr(0, 16));  // sorted by key: start is the lower
  WriteTextFile(dir.File("cut.bin"), book.substr(0, 40));
  const std::string go = "go wtime 60000 btime 60000\n";
  std::string uci = "uci\nsetoption name BookFile value book.bin\n";
  for (int i = 0; i < 60; ++i) uci += "position startpos\n" + go;
  uci += "position startpos moves e2e4\n" + go + "position startpos moves d2d4\ngo depth 1\n";
  uci += "setoption name OwnBook value false\nposition startpos\ngo depth 1\nsetoption name OwnBook value true\n";
  uci += "setoption name BookFile value cut.bin\nposition startpos\ngo depth 1\nisready\n";
  const std::string output = RunEngine(uci, dir.Path()).output;
  std::map<std::string, int> firstMoves;
  std::istringstream lines(output);
  std::vector<std::string> answers;  // "book MOVE" or "search MOVE", one per go
  bool fromBook = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("info string book move ")) fromBook = true;
    if (!line.starts_with("bestmove ")) continue;
    answers.push_back((fromBook ? "book " : "search ") + line.substr(9, 4));
    fromBook = false;
  }
  ASSERT_EQ(answers.size(), 64u) << output;
  for (int i = 0; i < 60; ++i) ++firstMoves[answers[i]];
  EXPECT_EQ(firstMoves.size(), 2u) << output;  // e2e4 and d2d4, 60 draws at 3 : 1
  EXPECT_GT(firstMoves["book e2e4"], 0);
  EXPECT_EQ(firstMoves["book e2e4"] + firstMoves["book d2d4"], 60);
  EXPECT_EQ(answers[60], "book e7e5");
  for (int i = 61; i < 64; ++i) EXPECT_TRUE(answers[i].starts_with("search ")) << answers[i];
  EXPECT_NE(output.find("info string BookFile: Polyglot book 'cut.bin' is cut short: 40 bytes, not a whole number of "
                        "16-byte entries\n"),
            std::string::npos) << output;

  const std::string xboard = "xboard\nprotover 2\nnew\nforce\noption BookFile=book.bin\nbk\ne2e4\nbk\nd7d5\nbk\n"
                             "option OwnBook=0\nundo\nbk\noption OwnBook=1\nbk\noption BookFile=cut.bin\nbk\nquit\n";
  EXPECT_EQ(RunEngine(xboard, dir.Path()).output,
            " e2e4 75.0%\n d2d4 25.0%\n g1f3 0.0%\n\n e7e5 100.0%\n\n\n\n e7e5 100.0%\n\n"
            "tellusererror BookFile: Polyglot book 'cut.bin' is cut short: 40 bytes, not a whole number of 16-byte "
            "entries\n\n");
  const std::string played = RunEngine("xboard\nprotover 2\noption BookFile=book.bin\nnew\ngo\n", dir.Path()).output;
  EXPECT_TRUE(played.starts_with("move e2e4\n") || played.starts_with("move d2d4\n")) << played;
}

// The default book in both forms: every move the engine's own book has in the positions of its first six plies is in
// book.bin with a weight, and in the first two plies, where no position is reached by two roads, nothing else is.
TEST(PolyglotDefaultBook, HoldsTheMovesOfTheEnginesOwnBook) {
  Position pos;
#ifndef TAVREL_DEFAULT_BOOK_DIR
  GTEST_SKIP() << "the default book was not built (xz is missing)";
#else
  PolyglotBook book;
  ASSERT_TRUE(book.Open(std::string(TAVREL_DEFAULT_BOOK_DIR) + "/" + POLYGLOT_BOOK_NAME)) << book.Message().Text();
  ASSERT_TRUE(EngineBook.OpenBookIn(TAVREL_DEFAULT_BOOK_DIR)) << EngineBook.Message().Text();
  int positions = 0;
  std::function<void(int)> walk = [&](int ply) {
    ++positions;
    Move candidates[MAX_LIST_MOVES];
    std::set<Move> own(candidates, candidates + BookCandidates(pos, candidates)), weighted;
    for (const WeightedMove& move : PolyglotMoves(pos, book)) {
      EXPECT_GT(move.weight, 0u);
      weighted.insert(move.move);
    }
    EXPECT_TRUE(std::includes(weighted.begin(), weighted.end(), own.begin(), own.end())) << ply;
    if (ply < 2) {
      EXPECT_EQ(weighted, own) << ply;
    }
    if (ply == 6) return;
    for (Move move : own) WithMoveMade(pos, move, [&] { walk(ply + 1); });
  };
  Load(pos, START);
  walk(0);
  EXPECT_GT(positions, 20);
  EngineBook.OpenBookIn("no such folder");
#endif
}
