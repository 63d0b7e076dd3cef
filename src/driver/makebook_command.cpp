#include "driver/makebook_command.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "driver/pondering.h"
#include "engine/new_position.h"
#include "platform/console_input.h"
#include "tools/make_book.h"

namespace {

constexpr const char* INTO = "into";

// The rest of the current line, however long, without its line end.
std::string RestOfLine() {
  std::string line;
  char part[COMMAND_BUFFER_SIZE];
  for (size_t length; (length = ReadLine(part, sizeof part)) > 0;) {
    line.append(part, length);
    if (line.back() == '\n') {
      line.pop_back();
      break;
    }
  }
  return line;
}

}  // namespace

// Reading the games loads the start position: a guess pondered on is taken back first.
void MakeBookCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  LeavePondering(engine);
  std::istringstream words(RestOfLine());
  std::vector<std::string> pgnNames;
  std::string word, folder;
  while (words >> word && word != INTO) pgnNames.push_back(word);
  bool named = word == INTO ? static_cast<bool>(words >> folder) : true;
  if (pgnNames.empty() || !named || words >> word) {
    std::printf("usage: makebook PGN... [into FOLDER]\n");
    return;
  }
  MakeBookSummary summary;
  const u32 loadsBefore = engine.game.LoadCount;
  MakeBook(pos, pgnNames, folder, summary);
  ForgetSearchMemoryAfterLoads(engine, loadsBefore);
}
