// Reading the command stream: whitespace-separated words and whole lines from
// standard input. The bytes read from the descriptor but not yet consumed stay
// countable (BufferedInputBytes), so that the input poll of the search sees
// every word the command loop has not read.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/integers.h"

// The command buffer holds a word of at most 255 characters and its NUL.
constexpr size_t COMMAND_BUFFER_SIZE = 256;

enum class WordStatus { Read, TooLong, EndOfInput };

// Skips white space and reads one word into buffer (size bytes, NUL included).
// A longer word is cut to size - 1 characters and the rest of it is discarded
// (TooLong). EndOfInput when no word is left.
WordStatus ReadWord(char* buffer, size_t size);

// A file-name argument of a command into buffer (COMMAND_BUFFER_SIZE bytes);
// false when none is left or it is too long to be one.
bool ReadFileName(char* buffer);

// Gives a word back: the next ReadWord returns it again, with the same status
// (a word that was cut stays TooLong).
void UnreadWord(const char* word, WordStatus status = WordStatus::Read);

// Reads the next word as a decimal number (an optional sign and at least one
// digit; what follows the digits is ignored, as "0.5" reads 0). A word that is
// not a number is given back and false is returned. Values are clamped to i32.
bool ReadNumber(i32& value);

// Reads the rest of the current line, its line end included, as fgets does: at
// most size - 1 characters. Returns the number of characters stored (0 at end
// of input); the line continues in the stream when it did not fit.
size_t ReadLine(char* buffer, size_t size);

// Reads the rest of the current line into line, without its line end (and
// without a carriage return). False at the end of input.
bool ReadWholeLine(std::string& line);

// Discards the rest of the current line, its line end included.
void SkipRestOfLine();

// Bytes taken from the descriptor (or given back) and not yet consumed.
size_t BufferedInputBytes();

// True when those bytes hold more than white space: a word the loop has yet to
// read. The line end left behind by the last word read does not count.
bool BufferedInputHasWord();

// Takes what the descriptor holds into the buffer, without blocking.
void TakeAvailableInput();

// What a look at a waiting line decides.
enum class LineVerdict {
  Keep,    // the line stays for the command loop, and the look goes on to the next
  Remove,  // the line was dealt with: it is taken out of the input
  Stop,    // the line stays, and the look ends here
};

// The first word of a line of length characters, as ReadWord would read it,
// into word, which has room for COMMAND_BUFFER_SIZE bytes; a longer word is cut.
void FirstWordOfLine(const char* line, size_t length, char* word);

// While a search runs: takes what has arrived, then shows visit each complete
// line that waits unread (without its line end), oldest first, skipping empty
// ones. True when a line stopped the look, or when the command loop must read
// now: the input has ended or fills the buffer, or a word was given back.
bool WalkWaitingLines(const std::function<LineVerdict(const char* line, size_t length)>& visit);

// Runs action with its words read from line instead of the input: the line's
// end is the end of input for it. The input's own state is kept.
void RunWithLineAsInput(const char* line, size_t length, const std::function<void()>& action);

// The descriptor read from (standard input unless a test points it elsewhere);
// changing it forgets everything buffered.
void SetInputDescriptor(int descriptor);
int InputDescriptor();
