#include "support/engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string MakeTempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

TempDir::TempDir() : path_(MakeTempDirectory()) {}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

EngineProcess::EngineProcess(const std::string& workingDir) {
  signal(SIGPIPE, SIG_IGN);  // a test may write to an engine that has already quit
  if (workingDir.empty()) {
    directory_ = MakeTempDirectory();
    ownsDirectory_ = true;
  } else {
    directory_ = workingDir;
  }
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    if (chdir(directory_.c_str()) != 0) _exit(126);
    execl(TAVREL_BINARY, TAVREL_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  toEngine_ = in[1];
  fromEngine_ = out[0];
  errorsFromEngine_ = err[0];
  fcntl(errorsFromEngine_, F_SETFL, O_NONBLOCK);
}

EngineProcess::~EngineProcess() {
  CloseInput();
  if (exitCode_ == -2 && pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (fromEngine_ >= 0) close(fromEngine_);
  if (errorsFromEngine_ >= 0) close(errorsFromEngine_);
  if (ownsDirectory_) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
}

void EngineProcess::Send(const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    ssize_t n = write(toEngine_, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the engine has gone; the test's reads will tell
    written += static_cast<size_t>(n);
  }
}

void EngineProcess::CloseInput() {
  if (toEngine_ >= 0) {
    close(toEngine_);
    toEngine_ = -1;
  }
}

bool EngineProcess::FillBuffer(std::chrono::milliseconds timeout) {
  if (outputEnded_) return false;
  pollfd fd{fromEngine_, POLLIN, 0};
  int ready = poll(&fd, 1, static_cast<int>(timeout.count()));
  DrainStandardError();
  if (ready <= 0) return false;
  char chunk[4096];
  ssize_t n = read(fromEngine_, chunk, sizeof chunk);
  if (n <= 0) {
    outputEnded_ = true;
    return false;
  }
  pending_.append(chunk, static_cast<size_t>(n));
  return true;
}

void EngineProcess::DrainStandardError() {
  char chunk[4096];
  ssize_t n;
  while ((n = read(errorsFromEngine_, chunk, sizeof chunk)) > 0) {
    errors_.append(chunk, static_cast<size_t>(n));
  }
}

std::optional<std::string> EngineProcess::ReadLine(std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  for (;;) {
    size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (!FillBuffer(std::chrono::milliseconds(RemainingMs(deadline)))) {
      if (outputEnded_ && !pending_.empty()) {
        std::string rest = pending_;
        pending_.clear();
        return rest;
      }
      if (outputEnded_ || RemainingMs(deadline) == 0) return std::nullopt;
    }
  }
}

std::optional<std::vector<std::string>> EngineProcess::ReadUntil(const std::string& prefix,
                                                                 std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  std::vector<std::string> lines;
  for (;;) {
    auto line = ReadLine(std::chrono::milliseconds(RemainingMs(deadline)));
    if (!line) return std::nullopt;
    lines.push_back(*line);
    if (line->compare(0, prefix.size(), prefix) == 0) return lines;
  }
}

std::vector<std::string> EngineProcess::ReadStartup() {
  std::vector<std::string> lines;
  auto upToDone = ReadUntil("feature done=1");
  if (!upToDone) return lines;
  lines = *upToDone;
  // The book report is written right after "feature done=1", before any
  // command is read: if it is coming, it is already on its way.
  if (pending_.empty()) FillBuffer(std::chrono::milliseconds(300));
  if (pending_.rfind("BOOK ERROR: ", 0) == 0) {
    // The book's message ends with its own line end, and the report adds one.
    for (int line = 0; line < 2; ++line) {
      if (auto text = ReadLine()) lines.push_back(*text);
    }
  }
  return lines;
}

std::string EngineProcess::ReadToEnd(std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  while (!outputEnded_ && RemainingMs(deadline) > 0) {
    FillBuffer(std::chrono::milliseconds(RemainingMs(deadline)));
  }
  std::string rest = pending_;
  pending_.clear();
  return rest;
}

int EngineProcess::Wait(std::chrono::milliseconds timeout) {
  if (exitCode_ != -2) return exitCode_;
  auto deadline = Clock::now() + timeout;
  int status = 0;
  for (;;) {
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (RemainingMs(deadline) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      exitCode_ = -1;
      return exitCode_;
    }
    DrainStandardError();
    usleep(2000);
  }
  DrainStandardError();
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return exitCode_;
}

std::string EngineProcess::StandardError() {
  DrainStandardError();
  return errors_;
}

std::string EngineProcess::ReadLog() const { return ReadFile(directory_ + "/Tavrel.log"); }

void SplitStartup(const std::string& printed, std::string& startup, std::string& rest) {
  const std::string done = "feature done=1\n";
  size_t end = printed.find(done);
  if (end == std::string::npos) {
    startup.clear();
    rest = printed;
    return;
  }
  end += done.size();
  const std::string report = "BOOK ERROR: ";
  if (printed.compare(end, report.size(), report) == 0) {
    // The book's message ends with its own line end, the report adds one more.
    size_t reportEnd = printed.find("\n\n", end);
    end = reportEnd == std::string::npos ? printed.size() : reportEnd + 2;
  }
  startup = printed.substr(0, end);
  rest = printed.substr(end);
}

EngineRun RunEngine(const std::string& input, const std::string& workingDir) {
  EngineProcess engine(workingDir);
  engine.Send(input);
  engine.CloseInput();
  EngineRun run;
  SplitStartup(engine.ReadToEnd(), run.startup, run.output);
  run.exitCode = engine.Wait();
  run.errors = engine.StandardError();
  run.log = engine.ReadLog();
  return run;
}
