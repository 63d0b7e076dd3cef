#include "platform/clock.h"

#include <chrono>

namespace {
const auto ProcessStart = std::chrono::steady_clock::now();
}

i64 ClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               ProcessStart)
      .count();
}
