#include "platform/signals.h"

#include <csignal>

void IgnoreInterfaceInterrupts() { std::signal(SIGINT, SIG_IGN); }
