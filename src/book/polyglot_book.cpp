#include "book/polyglot_book.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

u64 GetBigEndian(const u8* in, int bytes) {
  u64 value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | in[i];
  return value;
}

void PutBigEndian(u8* out, u64 value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i, value >>= 8) out[i] = static_cast<u8>(value);
}

}  // namespace

void EncodePolyglotEntry(const PolyglotEntry& entry, u8* out) {
  PutBigEndian(out, entry.key, 8);
  PutBigEndian(out + 8, entry.move, 2);
  PutBigEndian(out + 10, entry.weight, 2);
  PutBigEndian(out + 12, entry.learn, 4);
}

PolyglotEntry DecodePolyglotEntry(const u8* in) {
  return {GetBigEndian(in, 8), static_cast<PolyglotMove>(GetBigEndian(in + 8, 2)),
          static_cast<u16>(GetBigEndian(in + 10, 2)), static_cast<u32>(GetBigEndian(in + 12, 4))};
}

bool PolyglotBook::Refuse(const char* why) {
  message_.Format("Polyglot book '%s' %s", name_.c_str(), why);
  Close();
  return false;
}

bool PolyglotBook::Open(const std::string& name) {
  Close();
  name_ = name;
  std::error_code ignored;
  if (std::filesystem::is_directory(name, ignored)) return Refuse("is a folder");
  if (!file_.Open(name.c_str())) return Refuse((std::string("cannot be opened: ") + std::strerror(errno)).c_str());
  u64 size = 0;
  if (!file_.Size(size)) return Refuse("cannot be measured");
  if (size == 0) return Refuse("is empty");
  if (size % POLYGLOT_ENTRY_SIZE != 0) {
    const std::string why = "is cut short: " + std::to_string(size) + " bytes, not a whole number of " +
                            std::to_string(POLYGLOT_ENTRY_SIZE) + "-byte entries";
    return Refuse(why.c_str());
  }
  entryCount_ = size / POLYGLOT_ENTRY_SIZE;
  // The first, middle and last keys in order, as in any sorted file: a cheap
  // look for a file that is no book at all.
  PolyglotEntry first, middle, last;
  if (!ReadEntry(0, first) || !ReadEntry(entryCount_ / 2, middle) || !ReadEntry(entryCount_ - 1, last)) {
    return Refuse("cannot be read");
  }
  if (first.key > middle.key || middle.key > last.key) return Refuse("is not sorted by key");
  message_.Format("Polyglot book '%s': %llu entries", name_.c_str(), static_cast<unsigned long long>(entryCount_));
  return true;
}

void PolyglotBook::Close() {
  file_.Close();
  entryCount_ = 0;
}

bool PolyglotBook::ReadEntry(u64 number, PolyglotEntry& entry) const {
  u8 bytes[POLYGLOT_ENTRY_SIZE];
  if (!file_.Read(number, 1, POLYGLOT_ENTRY_SIZE, bytes)) return false;
  entry = DecodePolyglotEntry(bytes);
  return true;
}

std::vector<PolyglotEntry> PolyglotBook::EntriesOf(u64 key) const {
  std::vector<PolyglotEntry> entries;
  // The first entry whose key is not below key.
  u64 low = 0, high = entryCount_;
  PolyglotEntry entry;
  while (low < high) {
    const u64 middle = low + (high - low) / 2;
    if (!ReadEntry(middle, entry)) return entries;
    if (entry.key < key) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  for (u64 number = low; number < entryCount_ && ReadEntry(number, entry) && entry.key == key; ++number) {
    entries.push_back(entry);
  }
  return entries;
}
