#include "support/engine_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;
using Timeout = EngineProcess::Timeout;

std::string MakeTempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

Timeout Remaining(Clock::time_point deadline) {
  return std::max(Timeout(0), std::chrono::duration_cast<Timeout>(deadline - Clock::now()));
}

// The start-up lines end with "feature done=1" and the report of a missing
// book, whose message ends with its own line end before the report's.
size_t StartupLength(const std::string& printed) {
  const std::string done = "feature done=1\n", report = "BOOK ERROR: ";
  size_t end = printed.find(done);
  if (end == std::string::npos) return 0;
  end += done.size();
  if (printed.compare(end, report.size(), report) != 0) return end;
  size_t reportEnd = printed.find("\n\n", end);
  return reportEnd == std::string::npos ? printed.size() : reportEnd + 2;
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

EngineProcess::EngineProcess(const std::string& workingDir)
    : directory_(workingDir.empty() ? MakeTempDirectory() : workingDir), ownsDirectory_(workingDir.empty()) {
  signal(SIGPIPE, SIG_IGN);  // a test may write to an engine that has already quit
  int in[2], out[2];
  if (errors_ == nullptr || pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(fileno(errors_), 2);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    if (chdir(directory_.c_str()) != 0) _exit(126);
    execl(TAVREL_BINARY, TAVREL_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  toEngine_ = in[1];
  fromEngine_ = out[0];
}

EngineProcess::~EngineProcess() {
  CloseInput();
  if (exitCode_ == -2) Wait(Timeout(0));  // kills an engine still running
  close(fromEngine_);
  std::fclose(errors_);
  std::error_code ignored;
  if (ownsDirectory_) std::filesystem::remove_all(directory_, ignored);
}

void EngineProcess::Send(const std::string& text) {
  for (size_t written = 0; written < text.size();) {
    ssize_t n = write(toEngine_, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the engine has gone; the test's reads will tell
    written += static_cast<size_t>(n);
  }
}

void EngineProcess::CloseInput() {
  if (toEngine_ >= 0) close(toEngine_);
  toEngine_ = -1;
}

void EngineProcess::Interrupt() { kill(pid_, SIGINT); }
void EngineProcess::Terminate() { kill(pid_, SIGTERM); }

void EngineProcess::FillBuffer(Timeout timeout) {
  pollfd fd{fromEngine_, POLLIN, 0};
  if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) return;
  char chunk[4096];
  ssize_t n = read(fromEngine_, chunk, sizeof chunk);
  if (n > 0) pending_.append(chunk, static_cast<size_t>(n));
  outputEnded_ = n <= 0;
}

std::optional<std::vector<std::string>> EngineProcess::ReadUntil(const std::string& prefix, Timeout timeout) {
  auto deadline = Clock::now() + timeout;
  std::vector<std::string> lines;
  do {
    size_t end;
    while ((end = pending_.find('\n')) == std::string::npos) {
      if (outputEnded_ || Remaining(deadline).count() == 0) return std::nullopt;
      FillBuffer(Remaining(deadline));
    }
    lines.push_back(pending_.substr(0, end));
    pending_.erase(0, end + 1);
  } while (!lines.back().starts_with(prefix));
  return lines;
}

std::string EngineProcess::ReadToEnd(Timeout timeout) {
  auto deadline = Clock::now() + timeout;
  while (!outputEnded_ && Remaining(deadline).count() > 0) FillBuffer(Remaining(deadline));
  return std::exchange(pending_, std::string());
}

int EngineProcess::Wait(Timeout timeout) {
  if (exitCode_ != -2) return exitCode_;
  auto deadline = Clock::now() + timeout;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) != pid_) {
    if (Remaining(deadline).count() == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      return exitCode_ = -1;
    }
    usleep(2000);
  }
  return exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Read without moving the offset that the engine writes at.
std::string EngineProcess::StandardError() {
  struct stat file {};
  fstat(fileno(errors_), &file);
  std::string text(static_cast<size_t>(file.st_size), '\0');
  text.resize(static_cast<size_t>(std::max<ssize_t>(0, pread(fileno(errors_), text.data(), text.size(), 0))));
  return text;
}

std::string EngineProcess::ReadLog() const { return ReadFile(directory_ + "/Tavrel.log"); }

EngineRun RunEngine(const std::string& input, const std::string& workingDir) {
  EngineProcess engine(workingDir);
  engine.Send(input);
  engine.CloseInput();
  EngineRun run;
  run.output = engine.ReadToEnd();
  run.startup = run.output.substr(0, StartupLength(run.output));
  run.output.erase(0, run.startup.size());
  run.exitCode = engine.Wait();
  run.errors = engine.StandardError();
  run.log = engine.ReadLog();
  return run;
}
