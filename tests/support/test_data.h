// The files the tests read, kept in tests/data beside them.
#pragma once

#include <string>
#include <vector>

#include "platform/integers.h"

// The whole file tests/data/<name>. A file that is missing, unreadable or empty throws, so the test that needs it fails
// with the file's name.
std::string ReadTestData(const std::string& name);

// The perft positions: each position with its leaf counts at depths 1, 2, ...
struct KnownCounts { std::string fen; std::vector<u64> leaves; };
std::vector<KnownCounts> ReadPerftFile();
