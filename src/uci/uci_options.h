// The engine's UCI options: announced after "uci", changed by "setoption".
#pragma once

#include <string>

#include "board/types.h"
#include "engine/engine.h"

// The "option name ..." lines, in order.
void PrintUciOptions();

// "setoption name NAME [value VALUE]" with the words after "setoption". Names
// are compared without regard to case. An unknown name, or a value that does
// not fit, is reported with "info string" and changes nothing.
void SetUciOption(Engine& engine, const std::string& arguments);

// True when the interface said it may ask the engine to ponder.
extern bool UciPonder;

// True when the interface analyses ("UCI_AnalyseMode"): no book move, no strength limit.
extern bool UciAnalyseMode;

// What the interface and the network lose per move ("Move Overhead"), in milliseconds.
constexpr i64 DEFAULT_MOVE_OVERHEAD_MS = 10;
constexpr i64 MAX_MOVE_OVERHEAD_MS = 5000;
extern i64 MoveOverheadMs;
