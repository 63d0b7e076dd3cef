#include "tools/game_file.h"

#include "book/byte_order.h"
#include "tools/conversion_error.h"

namespace {

constexpr size_t MOVE_BYTES = 2;
constexpr size_t HEADER_BYTES = 2;

enum class Frame { Game, End, Corrupt };

// Reads one header and its moves. End when the file ends before the header;
// Corrupt when it ends inside it or inside the moves, or the ply count is more
// than a record holds. A result code of 0 is the caller's business.
Frame ReadFrame(std::FILE* file, u16& header, Move* moves) {
  u8 bytes[MAX_GAME_PLIES * MOVE_BYTES];
  size_t got = std::fread(bytes, 1, HEADER_BYTES, file);
  if (got == 0) return Frame::End;
  if (got < HEADER_BYTES) return Frame::Corrupt;
  header = GetU16(bytes);
  size_t plies = static_cast<size_t>(PlyCountOf(header));
  if (plies > MAX_GAME_PLIES) return Frame::Corrupt;
  if (std::fread(bytes, MOVE_BYTES, plies, file) != plies) return Frame::Corrupt;
  for (size_t ply = 0; ply < plies; ++ply) moves[ply] = GetU16(bytes + ply * MOVE_BYTES);
  return Frame::Game;
}

std::string GameBytes(const GameRecord& record) {
  size_t plies = static_cast<size_t>(PlyCountOf(record.header));
  std::string bytes((plies + 1) * MOVE_BYTES, '\0');
  u8* out = reinterpret_cast<u8*>(bytes.data());
  PutU16(out, record.header);
  for (size_t ply = 0; ply < plies; ++ply) PutU16(out + (ply + 1) * MOVE_BYTES, record.moves[ply]);
  return bytes;
}

// Runs reader from the start of the file and puts the file position back.
template <typename Reader>
auto FromStart(std::FILE* file, Reader reader) {
  std::fpos_t where;
  bool remembered = std::fgetpos(file, &where) == 0;
  std::rewind(file);
  auto answer = reader();
  std::clearerr(file);
  if (remembered) std::fsetpos(file, &where);
  return answer;
}

}  // namespace

bool ReadGame(GameRecord& record, std::FILE* file) {
  if (ReadFrame(file, record.header, record.moves) != Frame::Game) return false;
  int code = ResultCodeOf(record.header);
  if (code == RESULT_UNFINISHED) throw ConversionError("WRONG RESULT");
  SetGameResult(record, ResultLetterOfCode(code));
  return true;
}

bool WriteGame(const GameRecord& record, std::FILE* file) {
  std::string bytes = GameBytes(record);
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

int CountGames(std::FILE* file) {
  return FromStart(file, [file] {
    int count = 0;
    u16 header;
    Move moves[MAX_GAME_PLIES];
    for (;;) {
      Frame frame = ReadFrame(file, header, moves);
      if (std::ferror(file)) return -1;
      if (frame == Frame::End) return count;
      ++count;
      if (frame == Frame::Corrupt || ResultCodeOf(header) == RESULT_UNFINISHED) return -count;
    }
  });
}

void GameIndex::Add(const GameRecord& record) { games_.insert(GameBytes(record)); }

bool GameIndex::Contains(const GameRecord& record) const {
  return games_.count(GameBytes(record)) != 0;
}

bool IndexGames(std::FILE* file, GameIndex& index) {
  return FromStart(file, [file, &index] {
    GameRecord record;
    for (;;) {
      Frame frame = ReadFrame(file, record.header, record.moves);
      if (frame == Frame::End) return !std::ferror(file);
      if (frame == Frame::Corrupt || ResultCodeOf(record.header) == RESULT_UNFINISHED) return false;
      index.Add(record);
    }
  });
}

bool FindGame(const GameRecord& record, const GameIndex& index) { return index.Contains(record); }
