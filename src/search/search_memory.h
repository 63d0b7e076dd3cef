// What the search learnt about earlier positions, forgotten when a new position is loaded.
#pragma once

void ForgetSearchMemory();
