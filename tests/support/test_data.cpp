#include "support/test_data.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

std::string ReadTestData(const std::string& name) {
  const std::string path = std::string(TAVREL_TEST_DATA_DIR) + "/" + name;
  std::ifstream in(path, std::ios::binary);
  std::stringstream contents;
  if (in) contents << in.rdbuf();
  if (!in || contents.str().empty()) throw std::runtime_error("test data missing or unreadable: " + path);
  return contents.str();
}
