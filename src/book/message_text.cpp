#include "book/message_text.h"

#include <cstdarg>
#include <cstdio>

MessageText::MessageText(const char* initial) { Format("%s", initial); }

void MessageText::Format(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text_, sizeof text_, format, arguments);
  va_end(arguments);
}
