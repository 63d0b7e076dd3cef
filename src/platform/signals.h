// The signals the engine meets under a chess interface.
#pragma once

// xboard sends SIGINT before each of its moves; the search notices the move
// itself by polling, so the signal must not end the engine. SIGTERM keeps its
// default action.
void IgnoreInterfaceInterrupts();
