#include "book/position_line.h"

#include "book/byte_order.h"
#include "platform/blanks.h"

namespace {

constexpr size_t KEY_DIGITS = 16;
constexpr size_t PLACEMENT_AT = KEY_DIGITS + 1;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Walks the fields of one line without ever looking past its end.
class LineCursor {
 public:
  LineCursor(const char* text, size_t length, size_t at) : text_(text), length_(length), at_(at) {}

  bool AtEnd() const { return at_ >= length_; }
  char Peek() const { return AtEnd() ? '\0' : text_[at_]; }
  char Take() { return AtEnd() ? '\0' : text_[at_++]; }
  const char* Here() const { return text_ + at_; }

  bool Skip(bool (*accepts)(int)) {
    if (AtEnd() || !accepts(text_[at_])) return false;
    ++at_;
    return true;
  }

  // The characters up to the next blank, which is consumed; false when no blank follows.
  bool FieldToBlank(size_t& fieldLength) {
    for (size_t end = at_; end < length_; ++end) {
      if (text_[end] == ' ') {
        fieldLength = end - at_;
        at_ = end + 1;
        return true;
      }
    }
    return false;
  }

 private:
  const char* text_;
  size_t length_;
  size_t at_;
};

// After the placement a field ends on a space alone.
bool IsSpace(int c) { return c == ' '; }

bool ParseKey(const char* text, PositionRecord& record) {
  u64 key = 0;
  for (size_t i = 0; i < KEY_DIGITS; ++i) {
    int digit = HexValue(text[i]);
    if (digit < 0) return false;
    key = (key << 4) | static_cast<u64>(digit);
  }
  record.keyHigh = KeyHigh(key);
  record.keyLow = KeyLow(key);
  return IsBlank(text[KEY_DIGITS]);
}

bool ParseSideAndCastling(LineCursor& cursor, PositionRecord& record) {
  if (cursor.AtEnd()) return false;
  if (cursor.Take() == 'w') record.flags |= FLAG_WHITE_TO_MOVE;
  if (!cursor.Skip(IsSpace)) return false;
  const char* castling = cursor.Here();
  size_t length;
  if (!cursor.FieldToBlank(length)) return false;
  for (size_t i = 0; i < length; ++i) {
    switch (castling[i]) {
      case 'K': record.flags |= FLAG_WHITE_SHORT; break;
      case 'Q': record.flags |= FLAG_WHITE_LONG; break;
      case 'k': record.flags |= FLAG_BLACK_SHORT; break;
      case 'q': record.flags |= FLAG_BLACK_LONG; break;
      default: break;
    }
  }
  return true;
}

bool ParseEnPassant(LineCursor& cursor, PositionRecord& record) {
  char file = cursor.Take();
  if (file == '-') return true;
  char rank = cursor.Take();
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return false;
  record.flags |= static_cast<u8>(file - 'a');
  record.plyAndPassant |= PLY_EN_PASSANT_GIVEN;
  return true;
}

bool ParseResult(LineCursor& cursor, PositionRecord& record) {
  switch (cursor.Take()) {
    case 'W': record.whiteWins = 1; return true;
    case 'B': record.blackWins = 1; return true;
    case 'D': record.draws = 1; return true;
    default: return false;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number; values above the largest ply the record holds become that ply.
bool ParsePly(LineCursor& cursor, PositionRecord& record) {
  if (!IsDigit(cursor.Peek())) return false;
  int ply = 0;
  while (IsDigit(cursor.Peek())) {
    ply = ply * 10 + (cursor.Take() - '0');
    if (ply > MAX_EARLIEST_PLY) ply = MAX_EARLIEST_PLY;
  }
  record.plyAndPassant |= static_cast<u8>(ply);
  return true;
}

}  // namespace

bool ReadPositionLine(std::FILE* file, PositionLine& line) {
  line.length = 0;
  line.bytesRead = 0;
  line.tooLong = false;
  int c;
  while ((c = getc_unlocked(file)) != EOF) {
    ++line.bytesRead;
    if (c == '\n') {
      if (!line.tooLong) line.text[line.length++] = '\n';
      break;
    }
    if (line.length < MAX_POSITION_LINE) {
      line.text[line.length++] = static_cast<char>(c);
    } else {
      line.tooLong = true;
    }
  }
  line.text[line.length] = '\0';
  return line.bytesRead > 0;
}

int PrintableLength(const PositionLine& line) {
  size_t length = line.length;
  while (length > 0 && (line.text[length - 1] == '\n' || line.text[length - 1] == '\r')) --length;
  return static_cast<int>(length);
}

bool ParsePositionLine(const char* text, size_t length, PositionRecord& record) {
  record = PositionRecord{};
  if (length <= PLACEMENT_AT || !ParseKey(text, record)) return false;
  LineCursor cursor(text, length, PLACEMENT_AT);
  const char* placement = cursor.Here();
  size_t placementLength;
  if (!cursor.FieldToBlank(placementLength) || !PackBoard(placement, placementLength, record.board)) {
    return false;
  }
  return ParseSideAndCastling(cursor, record) && ParseEnPassant(cursor, record) &&
         cursor.Skip(IsBlank) && ParseResult(cursor, record) && cursor.Skip(IsBlank) &&
         ParsePly(cursor, record);
}
