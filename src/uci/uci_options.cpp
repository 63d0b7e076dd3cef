#include "uci/uci_options.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "engine/book_file.h"
#include "engine/engine_setup.h"
#include "engine/strength_level.h"
#include "platform/engine_log.h"
#include "search/search_kind.h"
#include "search/search_limits.h"
#include "search/trans_table.h"


namespace {

constexpr const char* EMPTY_STRING_VALUE = "<empty>";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ReadCheck(const std::string& value, bool& result) {
  const std::string lower = Lower(value);
  if (lower != "true" && lower != "false") return false;
  result = lower == "true";
  return true;
}

bool SetHash(Engine&, const std::string& value) {
  char* end = nullptr;
  const long megabytes = std::strtol(value.c_str(), &end, 10);
  if (end == value.c_str() || megabytes < static_cast<long>(MIN_HASH_MB) || megabytes > static_cast<long>(MAX_HASH_MB)) {
    return false;
  }
  return ResizeTransTable(static_cast<u32>(megabytes));
}

// A whole number, and nothing after it, that choose takes.
template <typename Choose>
bool ReadSpin(const std::string& value, const Choose& choose) {
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  return end != value.c_str() && *end == '\0' && choose(number);
}

bool ChooseMoveOverhead(Engine& engine, long milliseconds) {
  if (milliseconds < 0 || milliseconds > MAX_MOVE_OVERHEAD_MS) return false;
  engine.MoveOverheadMs = milliseconds;
  return true;
}

bool SetMoveOverhead(Engine& engine, const std::string& value) {
  return ReadSpin(value, [&engine](long milliseconds) { return ChooseMoveOverhead(engine, milliseconds); });
}
bool SetSkillLevel(Engine& engine, const std::string& value) {
  return ReadSpin(value, [&engine](long level) { return ChooseSkillLevel(engine, level); });
}
bool SetLimitStrength(Engine& engine, const std::string& value) { return ReadCheck(value, engine.LimitStrength); }
bool SetLimitElo(Engine& engine, const std::string& value) {
  return ReadSpin(value, [&engine](long elo) { return ChooseLimitElo(engine, elo); });
}
bool SetMultiPv(Engine& engine, const std::string& value) {
  return ReadSpin(value, [&engine](long lines) { return ChooseMultiPvLines(engine.limits, lines); });
}
bool SetThreads(Engine& engine, const std::string& value) {
  return ReadSpin(value, [&engine](long threads) { return ChooseSearchThreads(engine.limits, threads); });
}

bool SetSearch(Engine& engine, const std::string& value) {
  const std::string lower = Lower(value);
  if (lower != "classic" && lower != "modern") return false;
  engine.limits.CurrentSearchKind = lower == "modern" ? SearchKind::Modern : SearchKind::Classic;
  return true;
}

bool SetPonder(Engine& engine, const std::string& value) { return ReadCheck(value, engine.UciPonder); }
bool SetAnalyseMode(Engine& engine, const std::string& value) { return ReadCheck(value, engine.UciAnalyseMode); }
bool SetOwnBook(Engine& engine, const std::string& value) { return ReadCheck(value, engine.UseOwnBook); }

bool SetBookFolder(Engine& engine, const std::string& value) {
  return OpenBookFrom(engine, value == EMPTY_STRING_VALUE ? std::string() : value);
}

// A book that cannot be used is reported here; the engine plays on without it.
bool SetBookFile(Engine& engine, const std::string& value) {
  if (!OpenBookFile(engine, value == EMPTY_STRING_VALUE ? std::string() : value)) {
    std::printf("info string BookFile: %s\n", BookFileMessage(engine));
  }
  return true;
}

bool ClearHash(Engine&, const std::string&) {
  ClearTransTable();
  return true;
}

struct UciOption {
  const char* name;
  std::string declaration;  // what follows the name in the "option" line
  bool (*set)(Engine& engine, const std::string& value);
};

const UciOption UciOptions[] = {
    {"Hash",
     "type spin default " + std::to_string(DEFAULT_HASH_MB) + " min " + std::to_string(MIN_HASH_MB) + " max " +
         std::to_string(MAX_HASH_MB),
     SetHash},
    {"Threads", "type spin default 1 min 1 max " + std::to_string(MAX_SEARCH_THREADS), SetThreads},
    {"Ponder", "type check default false", SetPonder},
    {"OwnBook", "type check default true", SetOwnBook},
    {"BookFolder", "type string default <empty>", SetBookFolder},
    {"BookFile", "type string default <empty>", SetBookFile},
    {"Clear Hash", "type button", ClearHash},
    {"Search", "type combo default Classic var Classic var Modern", SetSearch},
    {"Move Overhead",
     "type spin default " + std::to_string(DEFAULT_MOVE_OVERHEAD_MS) + " min 0 max " +
         std::to_string(MAX_MOVE_OVERHEAD_MS),
     SetMoveOverhead},
    {"UCI_AnalyseMode", "type check default false", SetAnalyseMode},
    {"MultiPV", "type spin default 1 min 1 max " + std::to_string(MAX_MULTI_PV_LINES), SetMultiPv},
    {"Skill Level",
     "type spin default " + std::to_string(FULL_STRENGTH_LEVEL) + " min 0 max " + std::to_string(FULL_STRENGTH_LEVEL),
     SetSkillLevel},
    {"UCI_LimitStrength", "type check default false", SetLimitStrength},
    {"UCI_Elo",
     "type spin default " + std::to_string(MAX_LIMIT_ELO) + " min " + std::to_string(MIN_LIMIT_ELO) + " max " +
         std::to_string(MAX_LIMIT_ELO),
     SetLimitElo},
};

}  // namespace

void PrintUciOptions() {
  for (const UciOption& option : UciOptions) {
    std::printf("option name %s %s\n", option.name, option.declaration.c_str());
  }
}

void SetUciOption(Engine& engine, const std::string& arguments) {
  std::istringstream words(arguments);
  std::string word, name, value;
  std::string* part = nullptr;
  while (words >> word) {
    if (word == "name" && part == nullptr) {
      part = &name;
    } else if (word == "value" && part == &name) {
      part = &value;
    } else if (part != nullptr) {
      *part += (part->empty() ? "" : " ") + word;
    }
  }
  for (const UciOption& option : UciOptions) {
    if (Lower(option.name) != Lower(name)) continue;
    if (!option.set(engine, value)) std::printf("info string option %s: value not taken: %s\n", option.name, value.c_str());
    return;
  }
  std::printf("info string no such option: %s\n", name.c_str());
}
