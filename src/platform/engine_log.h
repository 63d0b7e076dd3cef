// The engine's trace file, "Tavrel.log" in the working directory, rewritten at
// every start. One line per event, each flushed at once so that the file is
// complete even if the process is killed. If the file cannot be opened the
// stream stays failed and every write is silently dropped.
#pragma once

#include <fstream>
#include <ostream>

extern std::ofstream EngineLog;

inline constexpr const char* ENGINE_LOG_NAME = "Tavrel.log";

// Ends a log line: a line feed, then a flush.  EngineLog << "text" << EndLine;
inline std::ostream& EndLine(std::ostream& stream) {
  stream.put('\n');
  return stream.flush();
}
