#include "tools/pgn_input.h"

#include <cstring>

#include "platform/blanks.h"

void PgnInput::Fill(size_t count) {
  if (end_ - begin_ >= count || endOfFile_) return;
  std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  while (end_ < count && !endOfFile_) {
    size_t got = std::fread(buffer_ + end_, 1, BUFFER_SIZE - end_, file_);
    end_ += got;
    if (got == 0) endOfFile_ = true;  // the end, or a read error, which ends the text as well
  }
}

int PgnInput::Peek(size_t ahead) {
  Fill(ahead + 1);
  return begin_ + ahead < end_ ? buffer_[begin_ + ahead] : END;
}

int PgnInput::Get() {
  int c = Peek();
  if (c == END) {
    failed_ = true;
    return END;
  }
  ++begin_;
  atLineStart_ = c == '\n';
  return c;
}

void PgnInput::SkipWhiteSpace() {
  while (IsWhiteSpace(Peek())) Get();
}

void PgnInput::SkipToTagLine() {
  while (Peek() != END && !(atLineStart_ && Peek() == '[')) Get();
}
