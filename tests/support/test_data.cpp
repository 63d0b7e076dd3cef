#include "support/test_data.h"

#include <sstream>
#include <stdexcept>

#include "support/engine_process.h"

std::string ReadTestData(const std::string& name) {
  const std::string path = std::string(TAVREL_TEST_DATA_DIR) + "/" + name, contents = ReadFile(path);
  if (contents.empty()) throw std::runtime_error("test data missing or unreadable: " + path);
  return contents;
}

std::vector<KnownCounts> ReadPerftFile() {
  std::istringstream file(ReadTestData("perft-positions.epd"));
  std::vector<KnownCounts> positions;
  for (std::string line, label; std::getline(file, line);) {
    if (line.empty()) continue;
    positions.push_back({line.substr(0, line.find(';')), {}});
    std::istringstream fields(line.substr(line.find(';')));
    for (u64 count = 0; fields >> label >> count;) positions.back().leaves.push_back(count);
  }
  return positions;
}
