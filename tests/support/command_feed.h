// Feeds console words to the engine's own command loop inside the test process.
#pragma once

#include <string>

// Runs the command loop's dispatcher over text until it ends (end of text or
// "quit"). Standard input is not touched: the words come through a pipe.
void RunCommands(const std::string& text);

// The same, and returns what the commands printed on standard output.
std::string RunCommandsCapturingOutput(const std::string& text);
