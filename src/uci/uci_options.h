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

