#include "support/engine_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

// The start-up lines end with "feature done=1" and the report of a missing book, whose message ends with its own line
// end before the report's.
static size_t StartupLength(const std::string& printed) {
  const std::string done = "feature done=1\n";
  const size_t end = printed.find(done) == std::string::npos ? 0 : printed.find(done) + done.size();
  if (end == 0 || !printed.substr(end).starts_with("BOOK ERROR: ")) return end;
  return std::min(printed.find("\n\n", end), printed.size() - 2) + 2;
}

TempDir::TempDir() : path_((std::filesystem::temp_directory_path() / "tavrel-test-XXXXXX").string()) {
  if (mkdtemp(path_.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();  // a folder or a missing file reads as empty
  return contents.str();
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

EngineProcess::EngineProcess(const std::string& workingDir, const std::string& program)
    : directory_(workingDir.empty() ? ownDirectory_.emplace().Path() : workingDir) {
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
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  toEngine_ = in[1];
  fromEngine_ = out[0];
}

EngineProcess::~EngineProcess() {
  CloseInput();
  if (exitCode_ == RUNNING) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  close(fromEngine_);
  std::fclose(errors_);
}

void EngineProcess::Send(const std::string& text) {
  for (size_t written = 0; written < text.size();) {
    ssize_t n = write(toEngine_, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the engine has gone; the test's reads will tell
    written += static_cast<size_t>(n);
  }
}

void EngineProcess::CloseInput() { close(std::exchange(toEngine_, -1)); }

void EngineProcess::Interrupt() { kill(pid_, SIGINT); }
void EngineProcess::Terminate() { kill(pid_, SIGTERM); }

bool EngineProcess::FillBuffer(Clock::time_point deadline) {
  const auto leftMs = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (outputEnded_ || leftMs <= 0) return false;
  pollfd fd{fromEngine_, POLLIN, 0};
  if (poll(&fd, 1, static_cast<int>(leftMs)) > 0) {
    char chunk[4096];
    const ssize_t n = read(fromEngine_, chunk, sizeof chunk);
    if (n > 0) pending_.append(chunk, static_cast<size_t>(n));
    outputEnded_ = n <= 0;
  }
  return true;
}

std::optional<std::vector<std::string>> EngineProcess::ReadUntil(const std::string& prefix, std::chrono::seconds wait) {
  const auto deadline = Clock::now() + wait;
  std::vector<std::string> lines;
  while (lines.empty() || !lines.back().starts_with(prefix)) {
    const size_t end = pending_.find('\n');
    if (end == std::string::npos && !FillBuffer(deadline)) return std::nullopt;
    if (end == std::string::npos) continue;
    lines.push_back(pending_.substr(0, end));
    pending_.erase(0, end + 1);
  }
  return lines;
}

std::string EngineProcess::ReadToEnd(std::chrono::seconds wait) {
  const auto deadline = Clock::now() + wait;
  while (FillBuffer(deadline)) {
  }
  return std::exchange(pending_, std::string());
}

int EngineProcess::Wait() {
  if (exitCode_ != RUNNING) return exitCode_;
  int status = 0;
  for (int waitedMs = 0; waitpid(pid_, &status, WNOHANG) != pid_; waitedMs += 2) {
    if (waitedMs == 60000) kill(pid_, SIGKILL);  // reaped on a later turn
    usleep(2000);
  }
  return exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Opened afresh through its descriptor, so as not to move the offset that the engine writes at.
std::string EngineProcess::StandardError() { return ReadFile("/proc/self/fd/" + std::to_string(fileno(errors_))); }

std::string EngineProcess::ReadLog() const { return ReadFile(directory_ + "/Tavrel.log"); }

EngineRun RunEngine(const std::string& input, const std::string& workingDir, const std::string& program,
                    std::chrono::seconds wait) {
  EngineProcess engine(workingDir, program);
  engine.Send(input);
  engine.CloseInput();
  std::string output = engine.ReadToEnd(wait);
  const size_t startup = StartupLength(output);
  const int exitCode = engine.Wait();
  return {output.substr(0, startup), output.substr(startup), engine.StandardError(), engine.ReadLog(), exitCode};
}
