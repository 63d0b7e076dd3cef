#include "platform/same_file.h"

#include <sys/stat.h>

bool SameFile(const char* first, const char* second) {
  struct stat a, b;
  return stat(first, &a) == 0 && stat(second, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
