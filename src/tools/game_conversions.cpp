#include "tools/game_conversions.h"

#include <functional>

#include "board/load_position.h"
#include "board/move_text.h"
#include "book/file_handle.h"
#include "platform/same_file.h"
#include "tools/conversion_error.h"
#include "tools/game_file.h"
#include "tools/position_lines.h"

namespace {

// Writes one game to out; false when the game could not be written.
using GameWriter = std::function<bool(const GameRecord& game, std::FILE* out)>;

// Shows the per cent of the games done once it has grown.
class Progress {
 public:
  explicit Progress(int total) : total_(total) {
    std::printf("Converting %d games [  0%%]...", total);
  }

  void Done(int games) {
    int percent = static_cast<int>(static_cast<i64>(games) * 100 / total_);
    if (percent <= shown_) return;
    std::printf("\b\b\b\b\b\b\b\b%3d%%]...", percent);
    shown_ = percent;
  }

 private:
  int total_;
  int shown_ = 0;
};

struct GameFileConversion {
  const char* outFailure;  // printf format naming the output file that cannot be opened
  bool fromInitialPosition;
  const char* doneText;
};

void ConvertGameFile(Position& pos, const char* gameName, const char* outName, const GameFileConversion& how,
                     const GameWriter& write) {
  FileHandle games(std::fopen(gameName, "rb"));
  if (!games) {
    std::printf("Cannot open GAME input file: '%s'\n", gameName);
    return;
  }
  // Text appended to the game file being read would corrupt it.
  FileHandle out(SameFile(outName, gameName) ? nullptr : std::fopen(outName, "a"));
  if (!out) {
    std::printf(how.outFailure, outName);
    return;
  }
  int total = CountGames(games.get());
  if (total < 0) {
    std::printf("Game file corrupted! (error on game: %d)", -total);
    return;
  }
  if (how.fromInitialPosition) LoadBoard(pos, INITIAL_POSITION);
  Progress progress(total);
  GameRecord game;
  int read = 0, converted = 0;
  try {
    while (read < total && ReadGame(game, games.get())) {
      ++read;
      if (write(game, out.get())) {
        ++converted;
      } else {
        std::printf("Warning: game %d (skipped) file: %s\n", read, gameName);
      }
      progress.Done(read);
    }
  } catch (const ConversionError& error) {
    std::printf("ERROR: %s file: %s\n", error.what(), gameName);
  }
  std::printf("%s", how.doneText);
  std::printf("converted: %d games.\n", converted);
}

}  // namespace

void WritePgnGame(const GameRecord& game, std::FILE* out) {
  std::fprintf(out, "[Result \"%s\"]\n", game.resultText);
  std::fflush(out);
  int plies = PlyCountOf(game.header);
  for (int ply = 0; ply < plies; ++ply) {
    if (ply % 2 == 0) std::fprintf(out, "%d. ", ply / 2 + 1);
    char text[MOVE_TEXT_SIZE];
    MoveToText(text, game.moves[ply]);
    std::fprintf(out, "%s ", text);
  }
  std::fprintf(out, "%s\n", game.resultText);
  std::fflush(out);
}

void GameToPgn(Position& pos, const char* gameName, const char* pgnName) {
  ConvertGameFile(pos, gameName, pgnName, {"Cannot create PGN output file: '%s'\n", false, "OK\n"},
                  [](const GameRecord& game, std::FILE* out) {
                    WritePgnGame(game, out);
                    return true;
                  });
}

void GameToPos(Position& pos, const char* gameName, const char* positionName) {
  PositionOutput out;
  ConvertGameFile(pos, gameName, positionName, {"Cannot create DB output file: '%s'\n", true, "\tOK\n"},
                  [&pos, &out](const GameRecord& game, std::FILE* file) {
                    out.files[0] = file;
                    return WritePositionLines(pos, game, out);
                  });
}
