#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "driver/console_input.h"

namespace {

// Points the reader at a pipe holding text (the writer closed when closeWriter).
class ConsoleInputTest : public testing::Test {
 protected:
  void Feed(const std::string& text, bool closeWriter = true) {
    ASSERT_EQ(pipe(ends_), 0);
    ASSERT_EQ(write(ends_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    if (closeWriter) {
      close(ends_[1]);
      ends_[1] = -1;
    }
    SetInputDescriptor(ends_[0]);
  }
  void TearDown() override {
    SetInputDescriptor(0);
    for (int fd : ends_) {
      if (fd >= 0) close(fd);
    }
  }
  std::string Word() {
    char buffer[COMMAND_BUFFER_SIZE];
    EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::Read);
    return buffer;
  }
  int ends_[2] = {-1, -1};
};

TEST_F(ConsoleInputTest, WordsAreSeparatedByAnyWhiteSpace) {
  Feed("  new\n\tgo  \r\ne2e4");
  EXPECT_EQ(Word(), "new");
  EXPECT_EQ(Word(), "go");
  EXPECT_EQ(Word(), "e2e4");
  char buffer[COMMAND_BUFFER_SIZE];
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::EndOfInput);
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::EndOfInput);
}

TEST_F(ConsoleInputTest, OverlongWordIsCutAndItsRestDiscarded) {
  std::string longWord(1000, 'q');
  Feed(longWord + " quit\n");
  char buffer[COMMAND_BUFFER_SIZE];
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::TooLong);
  EXPECT_EQ(std::string(buffer), std::string(255, 'q'));
  EXPECT_EQ(Word(), "quit");
}

TEST_F(ConsoleInputTest, WordOfExactly255CharactersFits) {
  Feed(std::string(255, 'a') + "\n");
  EXPECT_EQ(Word(), std::string(255, 'a'));
}

TEST_F(ConsoleInputTest, NumberIsReadOrTheWordGivenBack) {
  Feed("300 -12 0.5 go 99999999999");
  i32 value = 0;
  EXPECT_TRUE(ReadNumber(value));
  EXPECT_EQ(value, 300);
  EXPECT_TRUE(ReadNumber(value));
  EXPECT_EQ(value, -12);
  EXPECT_TRUE(ReadNumber(value));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(ReadNumber(value));
  EXPECT_EQ(Word(), "go");
  EXPECT_TRUE(ReadNumber(value));
  EXPECT_EQ(value, 2147483647);
}

TEST_F(ConsoleInputTest, LineKeepsItsBlankAndLineEnd) {
  Feed("setboard 8/8/8 w - -\nnext\n");
  EXPECT_EQ(Word(), "setboard");
  char line[255];
  EXPECT_EQ(ReadLine(line, sizeof line), 13u);
  EXPECT_EQ(std::string(line), " 8/8/8 w - -\n");
  EXPECT_EQ(Word(), "next");
}

TEST_F(ConsoleInputTest, LineLongerThanTheBufferContinuesInTheStream) {
  Feed("abcdefghij\nrest\n");
  char line[5];
  EXPECT_EQ(ReadLine(line, sizeof line), 4u);
  EXPECT_EQ(std::string(line), "abcd");
  SkipRestOfLine();
  EXPECT_EQ(Word(), "rest");
}

TEST_F(ConsoleInputTest, UnreadBytesStayCountable) {
  Feed("go\ne7e5\n", false);
  EXPECT_EQ(BufferedInputBytes(), 0u);
  EXPECT_EQ(Word(), "go");
  EXPECT_EQ(BufferedInputBytes(), 6u);  // "\ne7e5\n" was read from the pipe with "go"
  i32 value;
  EXPECT_FALSE(ReadNumber(value));      // "e7e5" is given back and still counts
  EXPECT_GT(BufferedInputBytes(), 0u);
  EXPECT_EQ(Word(), "e7e5");
}

}  // namespace
