#include "tools/position_lines.h"

#include <algorithm>
#include <cinttypes>

#include "board/make_move.h"
#include "movegen/legal_moves.h"
#include "board/position_text.h"
#include "book/opening_book.h"

namespace {

// Key, FEN, result letter and ply with their tabs and line end, and the NUL.
constexpr size_t LINE_SIZE = 16 + POSITION_TEXT_SIZE + 16;

struct PositionLineText {
  u64 key;
  char text[LINE_SIZE];
};

static_assert(POSITION_LINE_LIMIT < PLY_RECORDS, "the search's undo records take the game's moves");

void FormatLine(Position& pos, PositionLineText& line, char resultLetter, int ply) {
  char position[POSITION_TEXT_SIZE];
  WritePositionText(pos, position);
  line.key = pos.HashKey;
  std::snprintf(line.text, sizeof line.text, "%016" PRIX64 "\t%s\t%c\t%d\n", pos.HashKey, position, resultLetter, ply);
}

}  // namespace

bool WritePositionLines(Position& pos, const GameRecord& game, const PositionOutput& out, int limit) {
  PositionLineText lines[POSITION_LINE_LIMIT];
  int plies = std::min({PlyCountOf(game.header), limit, POSITION_LINE_LIMIT});
  int made = 0;
  bool legal = true;
  for (; made < plies; ++made) {
    Move move = game.moves[made];
    if (!IsGeneratedLegalMove(pos, move)) {
      legal = false;
      break;
    }
    FormatLine(pos, lines[made], game.resultLetter, made + 1);
    SavePositionForUndo(pos, pos.UndoRecords[made]);
    MakeMove(pos, move, pos.UndoRecords[made]);
  }
  for (int ply = made - 1; ply >= 0; --ply) UnmakeMove(pos, game.moves[ply], pos.UndoRecords[ply]);
  if (!legal) return false;
  for (int ply = 0; ply < plies; ++ply) std::fputs(lines[ply].text, out.FileFor(lines[ply].key));
  return true;
}

std::string SplitPositionFileName(int k) {
  char name[8];
  std::snprintf(name, sizeof name, "%X.pos", k);
  return name;
}

std::string CreateSplitPositionFiles(const std::string& folder, FileHandle (&files)[POSITION_FILE_COUNT],
                                     PositionOutput& out) {
  out.count = POSITION_FILE_COUNT;
  for (int k = 0; k < POSITION_FILE_COUNT; ++k) {
    const std::string name = FileInFolder(folder, SplitPositionFileName(k));
    files[k].reset(std::fopen(name.c_str(), "w"));
    if (!files[k]) return name;
    out.files[k] = files[k].get();
  }
  return "";
}
