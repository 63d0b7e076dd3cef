// What the search learnt about earlier positions, forgotten when a new position is loaded.
#pragma once

#include "board/position.h"

void ForgetSearchMemory();
