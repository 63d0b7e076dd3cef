#include "platform/console_input.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t READ_CHUNK = 4096;

int Descriptor = 0;
char Buffer[READ_CHUNK];
size_t BufferPos = 0;
size_t BufferEnd = 0;
bool AtEnd = false;

char PendingWord[COMMAND_BUFFER_SIZE];
bool HasPendingWord = false;
WordStatus PendingStatus = WordStatus::Read;

bool Refill() {
  if (AtEnd) return false;
  for (;;) {
    ssize_t count = read(Descriptor, Buffer, sizeof Buffer);
    if (count > 0) {
      BufferPos = 0;
      BufferEnd = static_cast<size_t>(count);
      return true;
    }
    if (count < 0 && errno == EINTR) continue;
    AtEnd = true;  // end of input, or an error that ends it
    return false;
  }
}

// Next character, or -1 at the end of input.
int Peek() {
  if (BufferPos == BufferEnd && !Refill()) return -1;
  return static_cast<unsigned char>(Buffer[BufferPos]);
}

int Get() {
  int c = Peek();
  if (c >= 0) ++BufferPos;
  return c;
}

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

WordStatus ReadWord(char* buffer, size_t size) {
  if (HasPendingWord) {
    HasPendingWord = false;
    std::strncpy(buffer, PendingWord, size - 1);
    buffer[size - 1] = '\0';
    return PendingStatus;
  }
  int c;
  while ((c = Peek()) >= 0 && IsBlank(c)) Get();
  if (c < 0) return WordStatus::EndOfInput;
  size_t length = 0;
  bool tooLong = false;
  while ((c = Peek()) >= 0 && !IsBlank(c)) {
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
  HasPendingWord = false;
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
    if (!IsBlank(static_cast<unsigned char>(Buffer[i]))) return true;
  }
  return false;
}

void SetInputDescriptor(int descriptor) {
  Descriptor = descriptor;
  BufferPos = BufferEnd = 0;
  AtEnd = false;
  HasPendingWord = false;
}

int InputDescriptor() { return Descriptor; }
