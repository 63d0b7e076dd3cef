// Whether two names lead to one file: a command must never write over what it reads.
#pragma once

// True when both names exist and are the same file (same device and inode),
// whatever the spelling of the paths or the links between them.
bool SameFile(const char* first, const char* second);
