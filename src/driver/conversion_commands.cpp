#include "driver/conversion_commands.h"

#include "driver/console_input.h"
#include "tools/game_conversions.h"
#include "tools/pgn_conversions.h"

namespace {

// The two file names of a command; both are read, and both must be there.
struct FileNames {
  char first[COMMAND_BUFFER_SIZE];
  char second[COMMAND_BUFFER_SIZE];

  bool Read() {
    bool named = ReadFileName(first);
    return ReadFileName(second) && named;
  }
};

}  // namespace

void PgnToPosCommand(const char*) {
  char pgnName[COMMAND_BUFFER_SIZE];
  if (ReadFileName(pgnName)) PgnToPos(pgnName);
}

void PgnToGameCommand(const char*) {
  FileNames names;
  int converted = 0;
  if (names.Read()) PgnToGame(names.first, names.second, &converted);
}

void PgnListToGameCommand(const char*) {
  FileNames names;
  if (names.Read()) PgnListToGame(names.first, names.second);
}

void GameToPgnCommand(const char*) {
  FileNames names;
  if (names.Read()) GameToPgn(names.first, names.second);
}

void GameToPosCommand(const char*) {
  FileNames names;
  if (names.Read()) GameToPos(names.first, names.second);
}
