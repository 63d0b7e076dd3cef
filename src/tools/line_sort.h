// Sorting the lines of a text file byte by byte, the order "LC_ALL=C sort"
// gives and "dbcreate" needs, with a bounded amount of memory: a file larger
// than the budget is sorted in runs written to files of their own, which are
// then merged.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "board/position.h"
#include "board/types.h"

constexpr size_t LINE_SORT_BUDGET = size_t{64} << 20;  // bytes of lines held at once

struct LineSort {
  std::string runPrefix;  // the runs are named runPrefix and a number
  size_t budget = LINE_SORT_BUDGET;
  u64 lines = 0;          // lines written, over every call
};

// Appends the lines of the file named input to out, sorted, each ending with a
// line feed. False when a file cannot be read or written. The runs are
// removed before it returns.
bool AppendSortedLines(const std::string& input, std::FILE* out, LineSort& sort);
