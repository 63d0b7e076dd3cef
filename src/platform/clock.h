// The engine's clock: milliseconds since the process started.
#pragma once

#include "platform/integers.h"

i64 ClockMs();

constexpr i64 MS_PER_SECOND = 1000;
constexpr i64 MS_PER_CENTISECOND = 10;
