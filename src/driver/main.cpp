// The program: the first word the interface sends chooses the protocol.
// "uci" starts the UCI front end; anything else goes to the xboard front end
// and console, which reads that word again.
#include <memory>
#include <string_view>

#include "driver/command_loop.h"
#include "platform/console_input.h"
#include "platform/signals.h"
#include "uci/uci_loop.h"

int main() {
  IgnoreInterfaceInterrupts();
  const auto engine = std::make_unique<Engine>();
  char first[COMMAND_BUFFER_SIZE];
  const WordStatus status = ReadWord(first, sizeof first);
  if (status == WordStatus::Read && std::string_view(first) == "uci") {
    RunUci(*engine);
    return 0;
  }
  if (status != WordStatus::EndOfInput) UnreadWord(first, status);
  CommandLoop(*engine);
  return 0;
}
