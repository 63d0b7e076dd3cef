// A limit on a resource of this process, for as long as the object lives: the size of the files it writes (writes
// beyond it fail with EFBIG instead of raising SIGXFSZ, as on a full disk) or its address space (new mappings fail).
#pragma once

#include <sys/resource.h>

#include <csignal>

class ResourceLimit {
 public:
  ResourceLimit(int resource, rlim_t value) : resource_(resource), previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(resource, &saved_);
    const rlimit limited{value, saved_.rlim_max};
    setrlimit(resource, &limited);
  }
  ~ResourceLimit() {
    setrlimit(resource_, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  ResourceLimit(const ResourceLimit&) = delete;
  ResourceLimit& operator=(const ResourceLimit&) = delete;

 private:
  int resource_;
  void (*previousHandler_)(int);
  rlimit saved_{};
};
