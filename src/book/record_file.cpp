#include "book/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

RecordFile::~RecordFile() { Close(); }

bool RecordFile::Open(const char* name) {
  Close();
  descriptor_ = ::open(name, O_RDONLY | O_CLOEXEC);
  return descriptor_ >= 0;
}

void RecordFile::Close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

bool RecordFile::Size(u64& bytes) const {
  struct stat status;
  if (descriptor_ < 0 || fstat(descriptor_, &status) != 0 || status.st_size < 0) return false;
  bytes = static_cast<u64>(status.st_size);
  return true;
}

bool RecordFile::Read(u64 first, u64 count, size_t recordSize, u8* out) const {
  if (descriptor_ < 0) return false;
  u64 offset = first * recordSize;
  size_t wanted = static_cast<size_t>(count * recordSize);
  while (wanted > 0) {
    ssize_t got = ::pread(descriptor_, out, wanted, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    wanted -= static_cast<size_t>(got);
    offset += static_cast<u64>(got);
  }
  return true;
}
