// Reading a Polyglot book (".bin"): 16-byte entries, every field highest byte
// first: key (8 bytes), move (2), weight (2), learn (4), sorted by key. A
// position has as many entries as book moves. The file is read on demand.
#pragma once

#include <string>
#include <vector>

#include "board/types.h"
#include "book/message_text.h"
#include "book/polyglot_move.h"
#include "book/record_file.h"

constexpr size_t POLYGLOT_ENTRY_SIZE = 16;

struct PolyglotEntry {
  u64 key = 0;
  PolyglotMove move = 0;
  u16 weight = 0;
  u32 learn = 0;

  bool operator==(const PolyglotEntry&) const = default;
};

void EncodePolyglotEntry(const PolyglotEntry& entry, u8* out);  // 16 bytes
PolyglotEntry DecodePolyglotEntry(const u8* in);

class PolyglotBook {
 public:
  // Opens the book, closing the one open before. False, with the message
  // saying why, for a file that cannot be read, is empty, ends inside an
  // entry, or is seen not to be sorted by key; the book is closed then.
  bool Open(const std::string& name);
  void Close();

  bool IsOpen() const { return file_.IsOpen(); }
  u64 EntryCount() const { return entryCount_; }
  const std::string& Name() const { return name_; }
  MessageText& Message() { return message_; }

  // The entries of key, in the file's order; none when it holds none or
  // cannot be read.
  std::vector<PolyglotEntry> EntriesOf(u64 key) const;

 private:
  bool ReadEntry(u64 number, PolyglotEntry& entry) const;
  bool Refuse(const char* why);

  RecordFile file_;
  std::string name_;
  u64 entryCount_ = 0;
  MessageText message_;
};
