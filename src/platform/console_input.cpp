#include "platform/console_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/blanks.h"

namespace {

// Room for whatever an interface sends while a search runs: a line waits here
// until the command loop reads it.
constexpr size_t INPUT_BUFFER_SIZE = 1 << 16;

int Descriptor = 0;
char Buffer[INPUT_BUFFER_SIZE];
size_t BufferPos = 0;
size_t BufferEnd = 0;
bool AtEnd = false;

char PendingWord[COMMAND_BUFFER_SIZE];
bool HasPendingWord = false;
WordStatus PendingStatus = WordStatus::Read;

// A waiting line read in place of the descriptor while one command is run from it.
const char* LineText = nullptr;
size_t LinePos = 0;
size_t LineLength = 0;

// Appends what read() gives to the buffer; false at the end of input.
bool ReadMore() {
  if (AtEnd) return false;
  for (;;) {
    ssize_t count = read(Descriptor, Buffer + BufferEnd, sizeof Buffer - BufferEnd);
    if (count > 0) {
      BufferEnd += static_cast<size_t>(count);
      return true;
    }
    if (count < 0 && errno == EINTR) continue;
    AtEnd = true;  // end of input, or an error that ends it
    return false;
  }
}

// Moves the unread bytes to the front, making room behind them.
void Compact() {
  if (BufferPos == 0) return;
  std::memmove(Buffer, Buffer + BufferPos, BufferEnd - BufferPos);
  BufferEnd -= BufferPos;
  BufferPos = 0;
}

bool Refill() {
  if (BufferPos < BufferEnd) return true;
  BufferPos = BufferEnd = 0;
  return ReadMore();
}

// Next character, or -1 at the end of input (or of the line read in place of it).
int Peek() {
  if (LineText) return LinePos < LineLength ? static_cast<unsigned char>(LineText[LinePos]) : -1;
  if (BufferPos == BufferEnd && !Refill()) return -1;
  return static_cast<unsigned char>(Buffer[BufferPos]);
}

int Get() {
  int c = Peek();
  if (c < 0) return c;
  if (LineText) {
    ++LinePos;
  } else {
    ++BufferPos;
  }
  return c;
}

bool DescriptorReadable() {
  pollfd request{Descriptor, POLLIN, 0};
  int ready;
  do {
    ready = poll(&request, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready != 0;  // data, the end of input, or an error that read() will report
}

}  // namespace

WordStatus ReadWord(char* buffer, size_t size) {
  if (HasPendingWord && !LineText) {
    HasPendingWord = false;
    std::strncpy(buffer, PendingWord, size - 1);
    buffer[size - 1] = '\0';
    return PendingStatus;
  }
  int c;
  while ((c = Peek()) >= 0 && IsWhiteSpace(c)) Get();
  if (c < 0) return WordStatus::EndOfInput;
  size_t length = 0;
  bool tooLong = false;
  while ((c = Peek()) >= 0 && !IsWhiteSpace(c)) {
    Get();
    if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
  buffer[length] = '\0';
  return tooLong ? WordStatus::TooLong : WordStatus::Read;
}

bool ReadFileName(char* buffer) {
  return ReadWord(buffer, COMMAND_BUFFER_SIZE) == WordStatus::Read;
}

void UnreadWord(const char* word, WordStatus status) {
  if (LineText) {  // a word of a line run in place of the input goes back into that line
    size_t length = std::strlen(word);
    LinePos = LinePos >= length ? LinePos - length : 0;
    return;
  }
  std::strncpy(PendingWord, word, sizeof PendingWord - 1);
  PendingWord[sizeof PendingWord - 1] = '\0';
  HasPendingWord = true;
  PendingStatus = status;
}

bool ReadNumber(i32& value) {
  char word[COMMAND_BUFFER_SIZE];
  WordStatus status = ReadWord(word, sizeof word);
  if (status == WordStatus::EndOfInput) return false;
  const char* digits = word + ((word[0] == '-' || word[0] == '+') ? 1 : 0);
  if (status == WordStatus::TooLong || *digits < '0' || *digits > '9') {
    UnreadWord(word, status);
    return false;
  }
  long long parsed = std::strtoll(word, nullptr, 10);
  if (parsed > INT_MAX) parsed = INT_MAX;
  if (parsed < INT_MIN) parsed = INT_MIN;
  value = static_cast<i32>(parsed);
  return true;
}

size_t ReadLine(char* buffer, size_t size) {
  if (!LineText) HasPendingWord = false;
  size_t length = 0;
  while (length + 1 < size) {
    int c = Get();
    if (c < 0) break;
    buffer[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[length] = '\0';
  return length;
}

bool ReadWholeLine(std::string& line) {
  line.clear();
  if (HasPendingWord && !LineText) {
    HasPendingWord = false;
    line = PendingWord;
  }
  int c = Peek();
  if (c < 0 && line.empty()) return false;
  while ((c = Get()) >= 0 && c != '\n') {
    if (c != '\r') line.push_back(static_cast<char>(c));
  }
  return true;
}

void SkipRestOfLine() {
  int c;
  while ((c = Get()) >= 0 && c != '\n') {
  }
}

size_t BufferedInputBytes() {
  return (BufferEnd - BufferPos) + (HasPendingWord ? std::strlen(PendingWord) + 1 : 0);
}

bool BufferedInputHasWord() {
  if (HasPendingWord) return true;
  for (size_t i = BufferPos; i < BufferEnd; ++i) {
    if (!IsWhiteSpace(static_cast<unsigned char>(Buffer[i]))) return true;
  }
  return false;
}

void TakeAvailableInput() {
  if (AtEnd || !DescriptorReadable()) return;
  Compact();
  if (BufferEnd < sizeof Buffer) ReadMore();
}

void FirstWordOfLine(const char* line, size_t length, char* word) {
  size_t start = 0;
  while (start < length && IsWhiteSpace(static_cast<unsigned char>(line[start]))) ++start;
  size_t end = start;
  while (end < length && !IsWhiteSpace(static_cast<unsigned char>(line[end])) && end - start < COMMAND_BUFFER_SIZE - 1) {
    ++end;
  }
  std::memcpy(word, line + start, end - start);
  word[end - start] = '\0';
}

bool WalkWaitingLines(const std::function<LineVerdict(const char* line, size_t length)>& visit) {
  TakeAvailableInput();
  if (HasPendingWord) return true;  // a word given back is the loop's to read next
  size_t scan = BufferPos;
  for (;;) {
    const void* found = std::memchr(Buffer + scan, '\n', BufferEnd - scan);
    if (!found) {
      // An unfinished line waits for its end; a full buffer or the end of input is the loop's business.
      return AtEnd || BufferEnd == sizeof Buffer;
    }
    const size_t next = static_cast<size_t>(static_cast<const char*>(found) - Buffer) + 1;
    size_t length = next - 1 - scan;
    if (length > 0 && Buffer[scan + length - 1] == '\r') --length;
    size_t first = scan;
    while (first < scan + length && IsWhiteSpace(static_cast<unsigned char>(Buffer[first]))) ++first;
    if (first == scan + length) {  // an empty line is no command
      scan = next;
      continue;
    }
    switch (visit(Buffer + scan, length)) {
      case LineVerdict::Keep:
        scan = next;
        break;
      case LineVerdict::Stop:
        return true;
      case LineVerdict::Remove:
        std::memmove(Buffer + scan, Buffer + next, BufferEnd - next);
        BufferEnd -= next - scan;
        break;
    }
  }
}

void RunWithLineAsInput(const char* line, size_t length, const std::function<void()>& action) {
  const char* outerText = LineText;
  const size_t outerPos = LinePos, outerLength = LineLength;
  LineText = line;
  LinePos = 0;
  LineLength = length;
  action();
  LineText = outerText;
  LinePos = outerPos;
  LineLength = outerLength;
}

void SetInputDescriptor(int descriptor) {
  Descriptor = descriptor;
  BufferPos = BufferEnd = 0;
  AtEnd = false;
  HasPendingWord = false;
}

int InputDescriptor() { return Descriptor; }
