// The 256-byte text in which the book and database objects leave the message
// of their last failure, for the command that called them to print.
#pragma once

#include <cstddef>

class MessageText {
 public:
  static constexpr size_t SIZE = 256;

  explicit MessageText(const char* initial = "");

  // printf-style; a message longer than the text is cut.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  const char* Text() const { return text_; }

 private:
  char text_[SIZE];
};
