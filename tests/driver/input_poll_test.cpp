#include "driver/input_poll.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "driver/console_input.h"
#include "support/engine_process.h"

namespace {

// Points the command reader (and so the poll) at a real pipe that the test writes.
class InputPendingTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(pipe(ends_), 0);
    SetInputDescriptor(ends_[0]);
  }
  void TearDown() override {
    SetInputDescriptor(0);
    for (int fd : ends_) {
      if (fd >= 0) close(fd);
    }
  }
  void Write(const std::string& text) {
    ASSERT_EQ(write(ends_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void CloseWriter() {
    close(ends_[1]);
    ends_[1] = -1;
  }
  std::string Word() {
    char buffer[COMMAND_BUFFER_SIZE];
    EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::Read);
    return buffer;
  }
  int ends_[2] = {-1, -1};
};

TEST_F(InputPendingTest, CountsTheBytesWaitingInThePipe) {
  EXPECT_EQ(InputPending(), 0u);
  Write("e7e5\n");
  EXPECT_EQ(InputPending(), 5u);
  EXPECT_EQ(InputPending(), 5u);  // asking reads nothing
  Write("?\n");
  EXPECT_EQ(InputPending(), 7u);
  EXPECT_EQ(Word(), "e7e5");
  EXPECT_EQ(Word(), "?");
}

TEST_F(InputPendingTest, AClosedWriterCountsAsInput) {
  Write("quit\n");
  CloseWriter();
  EXPECT_EQ(InputPending(), 5u);  // what is left is still counted first
  EXPECT_EQ(Word(), "quit");
  EXPECT_NE(InputPending(), 0u);  // only the end of input is left
  char buffer[COMMAND_BUFFER_SIZE];
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::EndOfInput);
  EXPECT_NE(InputPending(), 0u);
}

TEST_F(InputPendingTest, SeesWordsTheReaderHasAlreadyTakenFromThePipe) {
  Write("go\ne7e5\n");
  EXPECT_EQ(Word(), "go");
  // The reader took all eight bytes in one read; the pipe itself is empty.
  EXPECT_EQ(InputPending(), 6u);
  EXPECT_EQ(Word(), "e7e5");
  EXPECT_EQ(InputPending(), 0u);
}

TEST_F(InputPendingTest, AGivenBackWordIsWaitingInput) {
  Write("level 40 5 0\n");
  i32 number = 0;
  EXPECT_FALSE(ReadNumber(number));  // "level" is given back
  EXPECT_NE(InputPending(), 0u);
  EXPECT_EQ(Word(), "level");
}

TEST_F(InputPendingTest, TheLineEndAfterTheLastCommandIsNotInput) {
  Write("go\n");
  EXPECT_EQ(Word(), "go");
  EXPECT_EQ(BufferedInputBytes(), 1u);
  EXPECT_EQ(InputPending(), 0u);
  Write("?\n");
  EXPECT_EQ(InputPending(), 2u);
}

// Standard input need not be a pipe: files are ready at once and must never block.
class InputPendingFromFileTest : public testing::Test {
 protected:
  void TearDown() override {
    SetInputDescriptor(0);
    if (fd_ >= 0) close(fd_);
  }
  void Open(const std::string& path) {
    fd_ = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd_, 0) << path;
    SetInputDescriptor(fd_);
  }
  int fd_ = -1;
};

TEST_F(InputPendingFromFileTest, ARegularFileCountsWhatIsLeftThenItsEnd) {
  TempDir dir;
  {
    int out = open(dir.File("commands").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(out, 0);
    ASSERT_EQ(write(out, "new\ngo\n", 7), 7);
    close(out);
  }
  Open(dir.File("commands"));
  EXPECT_EQ(InputPending(), 7u);
  char buffer[COMMAND_BUFFER_SIZE];
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::Read);
  EXPECT_EQ(InputPending(), 4u);  // "\ngo\n", buffered by the reader
  EXPECT_EQ(ReadWord(buffer, sizeof buffer), WordStatus::Read);
  EXPECT_NE(InputPending(), 0u);  // the end of the file
}

TEST_F(InputPendingFromFileTest, NullDeviceAnswersAtOnce) {
  Open("/dev/null");
  EXPECT_NE(InputPending(), 0u);
}

}  // namespace
