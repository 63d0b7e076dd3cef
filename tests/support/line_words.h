// The words of an engine's output line: all of them, the one after a key, the moves after "pv".
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// The word after key ("" when absent).
inline std::string ValueAfter(const std::vector<std::string>& words, const std::string& key) {
  const auto found = std::find(words.begin(), words.end(), key);
  return found == words.end() || found + 1 == words.end() ? "" : *(found + 1);
}

inline std::string ValueOf(const std::string& line, const std::string& key) { return ValueAfter(Words(line), key); }

// The moves after "pv" of an info line; empty for a line without them.
inline std::vector<std::string> PvOf(const std::string& line) {
  const std::vector<std::string> words = Words(line);
  const auto pv = std::find(words.begin(), words.end(), "pv");
  return pv == words.end() ? std::vector<std::string>() : std::vector<std::string>(pv + 1, words.end());
}
