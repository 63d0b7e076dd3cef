// Where the running program's own file is, so that it can find what was
// installed with it.
#pragma once

#include <string>

// The folder that holds the running executable, as an absolute path with links
// resolved; empty when the system cannot tell.
std::string ExecutableFolder();
