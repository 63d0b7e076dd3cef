// The files the tests read, kept in tests/data beside them.
#pragma once

#include <string>

// The whole file tests/data/<name>. A file that is missing, unreadable or
// empty throws, so the test that needs it fails with the file's name.
std::string ReadTestData(const std::string& name);
