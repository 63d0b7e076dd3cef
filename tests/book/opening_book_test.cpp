// Opening book files written byte by byte here: opened and searched, refused when broken, and played from.
#include <random>

#include "book/book_move.h"
#include "book_test_files.h"
#include "driver/command_loop.h"
#include "driver/xboard.h"
#include "engine/engine_setup.h"
#include "search/think.h"
#include "support/move_probe.h"

class BookFiles : public testing::Test {
 protected:
  InTempDir dir_;
  std::unique_ptr<OpeningBook> book_ = std::make_unique<OpeningBook>();
};

// Even keys only: side 0 crowds them into two buckets, side 1 spreads them over all. A book not yet open holds nothing,
// not even key 0. Then each lookup follows one that left the same low 47 bits as the record read last.
TEST_F(BookFiles, FindEveryKeyAndNoOtherTellingBucketsApart) {
  for (int side : {-1, 0, 1, 2}) EXPECT_FALSE(BookHolds(*book_, side, 0)) << side;
  std::mt19937_64 random(77);
  std::vector<u64> keys[2];
  for (int side : {0, 1}) {
    for (int i = 0; i < 3000; ++i) keys[side].push_back(random() & (side ? ~1ull : 0x0000FFFFFFFFFFFEull));
    WriteBook(BOOK_NAMES[side], keys[side]);
  }
  ASSERT_TRUE(book_->OpenBook()) << book_->Message().Text();
  for (int side : {0, 1}) {
    EXPECT_EQ(book_->RecordCount(side), 3000u);
    std::shuffle(keys[side].begin(), keys[side].end(), random);
    for (u64 key : keys[side]) {
      ASSERT_TRUE(BookHolds(*book_, side, key)) << std::hex << key;
      EXPECT_FALSE(BookHolds(*book_, side, key + 1)) << std::hex << key + 1;
    }
  }

  const u64 low47 = 0x00001234ABCD5678ull;
  const u64 first = low47 | (0x1ull << 47), second = low47 | (0x1F00Dull << 47), absent = low47 | (0x0ABCull << 47);
  WriteBook("bookbtm", {first, second, 7});
  WriteBook("bookwtm", {absent + 1});
  ASSERT_TRUE(book_->OpenBook());
  for (auto [side, key, held] : {std::tuple{0, first, true}, {0, second, true}, {0, absent, false}, {0, first, true},
                                 {0, low47, false}, {0, 7ull, true}, {1, first, false}, {1, absent + 1, true}}) {
    EXPECT_EQ(BookHolds(*book_, side, key), held) << side << " " << std::hex << key;
  }
}

// Each broken pair is refused, by a fresh book and one that held the side: the side left empty, the next not opened.
TEST_F(BookFiles, BrokenFilesAreRefused) {
  const std::vector<u64> keys = {5, 6, 0x4000000000000000ull};
  const std::string index = BookIndexBytes(keys), records = BookRecordBytes(keys);
  std::string decreasing = index, pastTheEnd = index;
  decreasing.replace(4 * 70000, 4, LittleEndian(2, 4));
  pastTheEnd.replace(index.size() - 4, 4, LittleEndian(4, 4));
  const std::string mbx = "Wrong file format 'bookbtm.mbx'.\n", mbk = "Wrong file format 'bookbtm.mbk'.\n";
  const std::tuple<const char*, std::string, std::string, std::string> cases[] = {  // index, records, message
      {"no index", "<none>", records, "Cannot load file: 'bookbtm.mbx'\n"},
      {"index short by a byte", index.substr(1), records, mbx}, {"index long by a byte", index + "x", records, mbx},
      {"counts that decrease", decreasing, records, mbx},
      {"no record file", index, "<none>", "Cannot open file: 'bookbtm.mbk'\n"},
      {"a piece of a record", index, records + "abc", mbk}, {"counts past the records", pastTheEnd, records, mbk},
      {"records the index counts missing", index, records.substr(6), mbk},
  };
  for (const auto& [what, brokenIndex, brokenRecords, message] : cases) {
    WriteBook("bookbtm", keys);
    WriteBook("bookwtm", keys);
    ASSERT_TRUE(book_->OpenBook());
    for (const char* name : {"bookbtm.mbx", "bookbtm.mbk"}) std::filesystem::remove(name);
    if (brokenIndex != "<none>") WriteTextFile("bookbtm.mbx", brokenIndex);
    if (brokenRecords != "<none>") WriteTextFile("bookbtm.mbk", brokenRecords);
    auto fresh = std::make_unique<OpeningBook>();
    SCOPED_TRACE(what);
    for (OpeningBook* book : {book_.get(), fresh.get()}) {
      EXPECT_FALSE(book->OpenBook());
      EXPECT_EQ(std::string(book->Message().Text()), message);
      EXPECT_EQ(book->RecordCount(0), 0u);
      for (u64 key : keys) EXPECT_FALSE(BookHolds(*book, 0, key));
    }
    EXPECT_EQ(fresh->RecordCount(1), 0u);
  }
}

// The key of the position after moves from the initial position.
static u64 KeyAfter(Position& pos, std::initializer_list<const char*> moves) {
  Load(pos, INITIAL_POSITION);
  UndoRecord records[2]{};
  for (UndoRecord* record = records; const char* text : moves) MakeMove(pos, ParseBoardMove(pos, text), *record++);
  return pos.HashKey;
}

// The engine's own books: black to move after 1.e4 and 1.d4 (and, wrongly filed there, a position with white to move);
// white to move after 1.Nf3 Nf6. The moves are tried from the last generated back: d2d4 is appended before e2e4. The
// engine asks the book only early in the game.
TEST_F(BookFiles, TheClockPicksAMoveIntoTheBookOfTheSideThenToMoveOnlyEarlyInTheGame) {
  Engine engine;
  Position& pos = engine.game;
  WriteBook(BOOK_NAMES[BOOK_BLACK_TO_MOVE],
            {KeyAfter(pos, {"e2e4"}), KeyAfter(pos, {"d2d4"}), KeyAfter(pos, {"g1f3", "d7d5"})});
  WriteBook(BOOK_NAMES[BOOK_WHITE_TO_MOVE], {KeyAfter(pos, {"g1f3", "g8f6"})});
  struct Closer { ~Closer() { EngineBook.Side(0).Close(); EngineBook.Side(1).Close(); } } closeAtTheEnd;
  ASSERT_TRUE(EngineBook.OpenBook()) << EngineBook.Message().Text();
  Load(pos, INITIAL_POSITION);
  EXPECT_EQ(BookMoveAt(pos, 1000), ParseBoardMove(pos, "d2d4"));
  EXPECT_EQ(BookMoveAt(pos, 1001), ParseBoardMove(pos, "e2e4"));
  EXPECT_TRUE(pos.Board[E2] == WHITE_PAWN && pos.HistoryTop == pos.History);  // every trial move was taken back
  UndoRecord record{};
  MakeMove(pos, ParseBoardMove(pos, "g1f3"), record);
  for (i64 clock : {0, 1, 2}) EXPECT_EQ(BookMoveAt(pos, clock), ParseBoardMove(pos, "g8f6"));
  MakeMove(pos, ParseBoardMove(pos, "g8f6"), record);
  EXPECT_EQ(BookMoveAt(pos, 0), NO_MOVE);  // no white move leads into the book of black to move

  Load(pos, INITIAL_POSITION);
  engine.PonderEnabled = engine.limits.PrintThinking = false;
  engine.State = ENGINE_PLAYING;
  pos.GameMoveCount = BOOK_MOVE_LIMIT - 1;
  engine.searcher->BestMove = NO_MOVE;
  const std::string bookAnswer = CaptureOutput([&engine] { EngineMove(engine); });
  EXPECT_TRUE(bookAnswer == "move e2e4\n" || bookAnswer == "move d2d4\n") << bookAnswer;
  EXPECT_EQ(engine.searcher->BestMove, NO_MOVE);  // no search ran
  Load(pos, INITIAL_POSITION);
  pos.GameMoveCount = BOOK_MOVE_LIMIT;
  CaptureOutput([&engine] { EngineMove(engine); });
  EXPECT_NE(engine.searcher->BestMove, NO_MOVE);  // searched
  engine.limits.PrintThinking = true;
  engine.State = ENGINE_FORCE;
}
