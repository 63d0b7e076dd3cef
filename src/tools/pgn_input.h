// PGN text read byte by byte, with a few bytes of look-ahead, from a file of
// any content: binary bytes, over-long lines and a missing last line end are
// all just bytes, and a read error is the end of the text.
#pragma once

#include <cstddef>
#include <cstdio>

class PgnInput {
 public:
  static constexpr int END = -1;
  // How far Peek can look past the next byte.
  static constexpr size_t MAX_LOOK_AHEAD = 16;

  explicit PgnInput(std::FILE* file) : file_(file) {}
  PgnInput(const PgnInput&) = delete;
  PgnInput& operator=(const PgnInput&) = delete;

  // The byte ahead bytes after the next one (0: the next), as an unsigned
  // char's value, or END past the end of the text. ahead < MAX_LOOK_AHEAD.
  int Peek(size_t ahead = 0);

  // Consumes and returns the next byte; at the end returns END and the input
  // has failed from then on.
  int Get();

  // True once a Get found the end of the text.
  bool Failed() const { return failed_; }

  // Consumes blanks, tabs, line ends, vertical tabs and form feeds.
  void SkipWhiteSpace();

  // Consumes bytes up to, not including, the first '[' that begins a line; to
  // the end of the text when none is left.
  void SkipToTagLine();

  // True before the first byte of the text and after a line feed.
  bool AtLineStart() const { return atLineStart_; }

 private:
  static constexpr size_t BUFFER_SIZE = 1 << 16;

  // Makes count bytes available unless the text ends first.
  void Fill(size_t count);

  std::FILE* file_;
  unsigned char buffer_[BUFFER_SIZE];
  size_t begin_ = 0;  // next byte
  size_t end_ = 0;    // one past the last byte held
  bool endOfFile_ = false;
  bool failed_ = false;
  bool atLineStart_ = true;
};

