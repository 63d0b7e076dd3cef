// The engine's clock: milliseconds since the process started.
#pragma once

#include "board/types.h"

i64 ClockMs();
