// The engine's clock: milliseconds since the process started.
#pragma once

#include "platform/integers.h"

i64 ClockMs();
