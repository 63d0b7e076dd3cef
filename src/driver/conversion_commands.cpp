#include "driver/conversion_commands.h"

#include "driver/pondering.h"
#include "engine/new_position.h"
#include "platform/console_input.h"
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

// Runs a conversion, which may load positions of its own, and has the search
// forget what it learnt when it did.
template <typename Conversion>
void Convert(Engine& engine, Conversion conversion) {
  const u32 loadsBefore = engine.game.LoadCount;
  conversion();
  ForgetSearchMemoryAfterLoads(engine, loadsBefore);
}

}  // namespace

// The commands that read games load the start position: a guess pondered on
// is taken back first, so that it cannot later be taken back from that board.
void PgnToPosCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  LeavePondering(engine);
  char pgnName[COMMAND_BUFFER_SIZE];
  if (ReadFileName(pgnName)) Convert(engine, [&] { PgnToPos(pos, pgnName); });
}

void PgnToGameCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  LeavePondering(engine);
  FileNames names;
  int converted = 0;
  if (names.Read()) Convert(engine, [&] { PgnToGame(pos, names.first, names.second, &converted); });
}

void PgnListToGameCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  LeavePondering(engine);
  FileNames names;
  if (names.Read()) Convert(engine, [&] { PgnListToGame(pos, names.first, names.second); });
}

void GameToPgnCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  FileNames names;
  if (names.Read()) Convert(engine, [&] { GameToPgn(pos, names.first, names.second); });
}

void GameToPosCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  LeavePondering(engine);
  FileNames names;
  if (names.Read()) Convert(engine, [&] { GameToPos(pos, names.first, names.second); });
}
