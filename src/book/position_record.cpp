#include "book/position_record.h"

#include <cstring>
#include <utility>

#include "book/byte_order.h"

namespace {

// Offsets of the fields in the 54-byte record.
constexpr size_t KEY_LOW_AT = 0;
constexpr size_t KEY_HIGH_AT = 4;
constexpr size_t BOARD_AT = 8;
constexpr size_t FLAGS_AT = 40;
constexpr size_t PLY_AT = 41;
constexpr size_t WHITE_WINS_AT = 42;
constexpr size_t BLACK_WINS_AT = 46;
constexpr size_t DRAWS_AT = 50;

// The packed code of a piece letter, 0 for a character that is none.
u8 PieceLetterCode(char letter) {
  switch (letter) {
    case 'B': return 4;
    case 'K': return 5;
    case 'N': return 6;
    case 'P': return 7;
    case 'Q': return 8;
    case 'R': return 9;
    case 'b': return 10;
    case 'k': return 11;
    case 'n': return 12;
    case 'p': return 13;
    case 'q': return 14;
    case 'r': return 15;
    default: return 0;
  }
}

class CodeWriter {
 public:
  explicit CodeWriter(u8* out) : out_(out) { std::memset(out_, 0, PACKED_BOARD_SIZE); }

  void Append(u8 code) {
    if (count_ == PACKED_CODE_COUNT) return;
    int byte = count_ / 2;
    out_[byte] |= (count_ % 2 == 0) ? static_cast<u8>(code << 4) : code;
    ++count_;
  }

  // n empty squares, 1 to 8: runs of four first.
  void AppendEmpty(int n) {
    if (n > PACKED_EMPTY_RUN_MAX) {
      Append(PACKED_EMPTY_RUN_MAX - 1);
      n -= PACKED_EMPTY_RUN_MAX;
    }
    Append(static_cast<u8>(n - 1));
  }

  void Fill() {
    while (count_ < PACKED_CODE_COUNT) Append(PACKED_FILLER);
  }

 private:
  u8* out_;
  int count_ = 0;
};

}  // namespace

u64 PositionRecord::Key() const { return KeyOf(keyHigh, keyLow); }

void EncodeRecord(const PositionRecord& record, u8* out) {
  PutU32(out + KEY_LOW_AT, record.keyLow);
  PutU32(out + KEY_HIGH_AT, record.keyHigh);
  std::memcpy(out + BOARD_AT, record.board, PACKED_BOARD_SIZE);
  out[FLAGS_AT] = record.flags;
  out[PLY_AT] = record.plyAndPassant;
  PutU32(out + WHITE_WINS_AT, record.whiteWins);
  PutU32(out + BLACK_WINS_AT, record.blackWins);
  PutU32(out + DRAWS_AT, record.draws);
}

PositionRecord DecodeRecord(const u8* in) {
  PositionRecord record;
  record.keyLow = GetU32(in + KEY_LOW_AT);
  record.keyHigh = GetU32(in + KEY_HIGH_AT);
  std::memcpy(record.board, in + BOARD_AT, PACKED_BOARD_SIZE);
  record.flags = in[FLAGS_AT];
  record.plyAndPassant = in[PLY_AT];
  record.whiteWins = GetU32(in + WHITE_WINS_AT);
  record.blackWins = GetU32(in + BLACK_WINS_AT);
  record.draws = GetU32(in + DRAWS_AT);
  return record;
}

bool SamePosition(const PositionRecord& a, const PositionRecord& b) {
  return std::memcmp(a.board, b.board, PACKED_BOARD_SIZE) == 0 && a.flags == b.flags &&
         (a.plyAndPassant & PLY_EN_PASSANT_GIVEN) == (b.plyAndPassant & PLY_EN_PASSANT_GIVEN);
}

bool PackBoard(const char* placement, size_t length, u8* out) {
  if (length == 0) return false;
  CodeWriter codes(out);
  for (size_t i = 0; i < length; ++i) {
    char c = placement[i];
    if (c == '/') continue;
    if (c >= '1' && c <= '8') {
      codes.AppendEmpty(c - '0');
    } else if (u8 code = PieceLetterCode(c)) {
      codes.Append(code);
    } else {
      return false;
    }
  }
  codes.Fill();
  return true;
}

std::string RecordPositionText(const PositionRecord& record) {
  // Letters by packed code, from code 4 on.
  constexpr const char* PIECE_LETTERS = "BKNPQRbknpqr";
  std::string text;
  int squares = 0, empty = 0;
  for (int i = 0; i < PACKED_CODE_COUNT && squares < SQUARE_COUNT; ++i) {
    const u8 code = (record.board[i / 2] >> (i % 2 == 0 ? 4 : 0)) & 0x0f;
    const int run = code < PACKED_EMPTY_RUN_MAX ? code + 1 : 1;
    if (squares % 8 + run > 8) return "";
    if (code < PACKED_EMPTY_RUN_MAX) {
      empty += run;
    } else {
      if (empty > 0) text += static_cast<char>('0' + empty);
      empty = 0;
      text += PIECE_LETTERS[code - PACKED_EMPTY_RUN_MAX];
    }
    squares += run;
    if (squares % 8 == 0) {
      if (empty > 0) text += static_cast<char>('0' + empty);
      empty = 0;
      if (squares < SQUARE_COUNT) text += '/';
    }
  }
  if (squares != SQUARE_COUNT) return "";
  const bool whiteToMove = record.WhiteToMove();
  text += whiteToMove ? " w " : " b ";
  const size_t rightsAt = text.size();
  for (const auto& [flag, letter] : {std::pair{FLAG_WHITE_SHORT, 'K'}, std::pair{FLAG_WHITE_LONG, 'Q'},
                                     std::pair{FLAG_BLACK_SHORT, 'k'}, std::pair{FLAG_BLACK_LONG, 'q'}}) {
    if (record.flags & flag) text += letter;
  }
  if (text.size() == rightsAt) text += '-';
  if (record.plyAndPassant & PLY_EN_PASSANT_GIVEN) {
    text += ' ';
    text += static_cast<char>('a' + (record.flags & FLAG_EN_PASSANT_FILE));
    text += whiteToMove ? '6' : '3';
  } else {
    text += " -";
  }
  return text;
}

double WhiteScore(double whiteWins, double blackWins, double draws) {
  double games = whiteWins + blackWins + draws;
  if (games == 0) return 0;
  return (whiteWins + draws / 2) / games;
}
