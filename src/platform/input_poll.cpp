#include "platform/input_poll.h"

#include <poll.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>

#include "platform/console_input.h"

namespace {

constexpr int NO_WAIT = 0;
constexpr u32 SOMETHING_WAITING = 1;

u32 AsCount(size_t bytes) { return bytes > UINT32_MAX ? UINT32_MAX : static_cast<u32>(bytes); }

u32 DescriptorBytesWaiting(int descriptor) {
  pollfd request{descriptor, POLLIN, 0};
  int ready;
  do {
    ready = poll(&request, 1, NO_WAIT);
  } while (ready < 0 && errno == EINTR);
  if (ready == 0) return 0;
  if (ready < 0 || (request.revents & (POLLERR | POLLNVAL)) != 0) return SOMETHING_WAITING;
  int waiting = 0;
  if (ioctl(descriptor, FIONREAD, &waiting) == 0 && waiting > 0) return static_cast<u32>(waiting);
  // Readable with nothing to count: the end of input, or a device that cannot say.
  return SOMETHING_WAITING;
}

}  // namespace

u32 InputPending() {
  if (BufferedInputHasWord()) return AsCount(BufferedInputBytes());
  return DescriptorBytesWaiting(InputDescriptor());
}
