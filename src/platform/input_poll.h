// The search's question, asked without blocking: has the interface sent
// anything that the command loop has not read yet?
#pragma once

#include "platform/integers.h"

// 0 when nothing waits. Otherwise the number of bytes waiting when it can be
// told (a word already buffered by the command reader counts first), or 1.
// Also 1 when the input has ended (the writer closed its end, a file is read
// to its end) or cannot be examined, so that the search returns and the loop
// meets the end of input. Never blocks.
u32 InputPending();
