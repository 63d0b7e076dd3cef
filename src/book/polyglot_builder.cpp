#include "book/polyglot_builder.h"

#include <algorithm>
#include <cstdio>

#include "board/check.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "board/zobrist.h"
#include "book/book_builder.h"
#include "book/file_handle.h"
#include "book/opening_book.h"
#include "book/polyglot_key.h"
#include "movegen/legal_moves.h"

namespace {

constexpr u64 RECORDS_PER_READ = 1024;
// Bits of the filter that answers most lookups of keys a book does not take
// before the search among those it takes: one bit for each value of a key's
// low 20 bits.
constexpr u64 FILTER_BITS = u64{1} << 20;

// A position a book takes, and the weight of a move into it.
struct TakenPosition {
  u64 key;
  u64 weight;
  bool operator<(u64 other) const { return key < other; }
};

struct RawEntry {
  u64 key;
  PolyglotMove move;
  u64 weight;
};

// Calls visit with every record of the database in key order; false when a
// read fails or visit does.
template <typename Visit>
bool ForEachRecord(DatabaseFile& database, Visit visit) {
  std::vector<u8> chunk(RECORDS_PER_READ * POSITION_RECORD_SIZE);
  for (u64 first = 0; first < database.recordCount; first += RECORDS_PER_READ) {
    const u64 count = std::min(RECORDS_PER_READ, database.recordCount - first);
    if (!database.file.Read(first, count, POSITION_RECORD_SIZE, chunk.data())) return false;
    for (u64 i = 0; i < count; ++i) {
      if (!visit(DecodeRecord(&chunk[i * POSITION_RECORD_SIZE]))) return false;
    }
  }
  return true;
}

// 2 x wins + draws of the side that moved into the record's position.
u64 MoverWeight(int side, const PositionRecord& record) {
  const u64 wins = side == BOOK_BLACK_TO_MOVE ? record.whiteWins : record.blackWins;
  return 2 * wins + record.draws;
}

class EntryCollector {
 public:
  explicit EntryCollector(std::vector<RawEntry>& entries) : entries_(entries) {}

  bool TakeBookPositions(int side, DatabaseFile& database) {
    std::vector<TakenPosition>& taken = taken_[side];
    return ForEachRecord(database, [&](const PositionRecord& record) {
      if (BookTakesRecord(side, record)) {
        taken.push_back({record.Key(), MoverWeight(side, record)});
        const u64 slot = record.Key() % FILTER_BITS;
        filter_[side][slot / 64] |= u64{1} << (slot % 64);
      }
      return taken.size() < 2 || taken[taken.size() - 2].key < taken.back().key;
    });
  }

  bool AddMovesOfPositions(Position& pos, DatabaseFile& database) {
    return ForEachRecord(database, [&](const PositionRecord& record) { return AddMovesOf(pos, record); });
  }

 private:
  // The moves of the record's position that lead into a book; false when the
  // record is no position.
  bool AddMovesOf(Position& pos, const PositionRecord& record) {
    const std::string text = RecordPositionText(record);
    if (text.empty() || !SetUpPosition(pos, text.c_str())) return false;
    // The key of a game's position depends on the road to it (a right lost
    // by castling has no key, one lost otherwise has), and a position set up
    // from text has no keys of rights and en-passant square at all. Keys move
    // by the same steps on both boards, so the difference the record's key
    // shows is that of every position a move leads to, less the en-passant
    // key that a move takes out of the game's key only.
    const u64 passant = pos.EnPassantSquare != 0 ? ZobristKeys[EN_PASSANT_KEY_ROW][pos.EnPassantSquare] : 0;
    const u64 toGameKey = record.Key() ^ pos.HashKey ^ passant;
    const u64 key = PolyglotKey(pos);
    UndoRecord undo{};
    MoveEntry list[MAX_LIST_MOVES];
    MoveEntry* end = GenerateMovesOf(pos, list, undo);
    SavePositionForUndo(pos, undo);
    const int mover = static_cast<int>(pos.SideToMove);
    for (MoveEntry* entry = list; entry < end; ++entry) {
      MakeMove(pos, entry->move, undo);
      if (!KingLeftInCheck(pos, entry->move, mover)) {
        if (const TakenPosition* found = Taken(static_cast<int>(pos.SideToMove), pos.HashKey ^ toGameKey)) {
          entries_.push_back({key, PolyglotMoveOf(entry->move), found->weight});
        }
      }
      UnmakeMove(pos, entry->move, undo);
    }
    return true;
  }

  const TakenPosition* Taken(int side, u64 gameKey) const {
    const u64 slot = gameKey % FILTER_BITS;
    if (!(filter_[side][slot / 64] >> (slot % 64) & 1)) return nullptr;
    const std::vector<TakenPosition>& taken = taken_[side];
    const auto found = std::lower_bound(taken.begin(), taken.end(), gameKey);
    return found != taken.end() && found->key == gameKey ? &*found : nullptr;
  }

  std::vector<TakenPosition> taken_[2];
  std::vector<u64> filter_[2] = {std::vector<u64>(FILTER_BITS / 64), std::vector<u64>(FILTER_BITS / 64)};
  std::vector<RawEntry>& entries_;
};

// One position can stand in the databases under several keys of ours: the
// en-passant square of every double step is in them, and a right lost by
// castling is keyed otherwise than one lost by a king or rook move. Their
// records count different games, so the weights of a move repeated so add up.
void MergeRepeatedMoves(std::vector<RawEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const RawEntry& a, const RawEntry& b) {
    return a.key != b.key ? a.key < b.key : a.move < b.move;
  });
  size_t kept = 0;
  for (const RawEntry& entry : entries) {
    if (kept > 0 && entries[kept - 1].key == entry.key && entries[kept - 1].move == entry.move) {
      entries[kept - 1].weight += entry.weight;
    } else {
      entries[kept++] = entry;
    }
  }
  entries.resize(kept);
}

}  // namespace

bool WritePolyglotBook(const char* name, std::vector<PolyglotEntry> entries, MessageText& message) {
  std::sort(entries.begin(), entries.end(), [](const PolyglotEntry& a, const PolyglotEntry& b) {
    if (a.key != b.key) return a.key < b.key;
    if (a.weight != b.weight) return a.weight > b.weight;
    return a.move < b.move;
  });
  FileHandle file(std::fopen(name, "wb"));
  if (!file) {
    message.Format("Cannot create file: '%s'\n", name);
    return false;
  }
  bool written = true;
  for (const PolyglotEntry& entry : entries) {
    u8 bytes[POLYGLOT_ENTRY_SIZE];
    EncodePolyglotEntry(entry, bytes);
    written = written && std::fwrite(bytes, sizeof bytes, 1, file.get()) == 1;
  }
  if (std::fclose(file.release()) != 0 || !written) {
    message.Format("Cannot write file: %s\n", name);
    return false;
  }
  return true;
}

bool PolyglotEntriesOf(Position& pos, PositionDatabase& databases, std::vector<PolyglotEntry>& entries) {
  std::vector<RawEntry> raw;
  EntryCollector collector(raw);
  int failed = -1;  // the side whose database does not read back
  for (int side : {DATABASE_BLACK_TO_MOVE, DATABASE_WHITE_TO_MOVE}) {
    if (failed < 0 && !collector.TakeBookPositions(side, databases.File(side))) failed = side;
  }
  for (int side : {DATABASE_BLACK_TO_MOVE, DATABASE_WHITE_TO_MOVE}) {
    if (failed < 0 && !collector.AddMovesOfPositions(pos, databases.File(side))) failed = side;
  }
  LoadBoard(pos, INITIAL_POSITION);
  if (failed >= 0) {
    databases.Message().Format("Wrong file format '%s'.\n", databases.File(failed).name.c_str());
    return false;
  }
  MergeRepeatedMoves(raw);
  u64 largest = 0;
  for (const RawEntry& entry : raw) largest = std::max(largest, entry.weight);
  entries.clear();
  entries.reserve(raw.size());
  for (const RawEntry& entry : raw) {
    const u64 weight = largest <= MAX_POLYGLOT_WEIGHT ? entry.weight
                                                      : std::max<u64>(1, entry.weight * MAX_POLYGLOT_WEIGHT / largest);
    entries.push_back({entry.key, entry.move, static_cast<u16>(weight), 0});
  }
  return true;
}
