#include "tools/line_sort.h"

#include <stdio.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <queue>
#include <string_view>
#include <vector>

#include "book/file_handle.h"

namespace {

constexpr size_t RUN_BUFFER_SIZE = size_t{1} << 18;
// Room for the line that takes a chunk past its budget, so that it is not copied to grow.
constexpr size_t SLACK = 4096;

// A line as getline(3) reads it, without its line end; false at the end of the file.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file) {}
  ~LineReader() { std::free(buffer_); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool Next(std::string_view& line) {
    ssize_t length = getline(&buffer_, &capacity_, file_);
    if (length < 0) return false;
    if (length > 0 && buffer_[length - 1] == '\n') --length;
    line = std::string_view(buffer_, static_cast<size_t>(length));
    return true;
  }

 private:
  std::FILE* file_;
  char* buffer_ = nullptr;
  size_t capacity_ = 0;
};

bool WriteLine(std::string_view line, std::FILE* out) {
  return std::fwrite(line.data(), 1, line.size(), out) == line.size() && std::fputc('\n', out) != EOF;
}

// The next lines of the input, up to the budget, sorted in memory.
class SortedChunk {
 public:
  // False when the input held no more lines.
  bool Read(LineReader& in, size_t budget) {
    text_.clear();
    text_.reserve(budget + SLACK);
    ends_.clear();
    std::string_view line;
    while (text_.size() < budget && in.Next(line)) {
      text_.append(line);
      ends_.push_back(text_.size());
    }
    return !ends_.empty();
  }

  bool Write(std::FILE* out) {
    std::vector<std::string_view> lines;
    lines.reserve(ends_.size());
    for (size_t i = 0, begin = 0; i < ends_.size(); begin = ends_[i++]) {
      lines.emplace_back(text_.data() + begin, ends_[i] - begin);
    }
    std::sort(lines.begin(), lines.end());  // char_traits<char> compares bytes as unsigned
    for (std::string_view line : lines) {
      if (!WriteLine(line, out)) return false;
    }
    return true;
  }

  size_t Lines() const { return ends_.size(); }

 private:
  std::string text_;
  std::vector<size_t> ends_;
};

// Merges sorted run files into out, the smallest current line first.
bool MergeRuns(const std::vector<std::string>& runs, std::FILE* out) {
  std::vector<FileHandle> files;
  std::vector<std::unique_ptr<LineReader>> readers;
  std::vector<std::string_view> current(runs.size());
  auto larger = [&current](size_t a, size_t b) { return current[a] > current[b]; };
  std::priority_queue<size_t, std::vector<size_t>, decltype(larger)> next(larger);
  for (const std::string& run : runs) {
    files.emplace_back(std::fopen(run.c_str(), "r"));
    if (!files.back()) return false;
    std::setvbuf(files.back().get(), nullptr, _IOFBF, RUN_BUFFER_SIZE);
    readers.push_back(std::make_unique<LineReader>(files.back().get()));
    if (readers.back()->Next(current[readers.size() - 1])) next.push(readers.size() - 1);
  }
  while (!next.empty()) {
    size_t run = next.top();
    next.pop();
    if (!WriteLine(current[run], out)) return false;
    if (readers[run]->Next(current[run])) next.push(run);
  }
  return std::all_of(files.begin(), files.end(), [](const FileHandle& file) { return !std::ferror(file.get()); });
}

bool WriteRun(SortedChunk& chunk, const std::string& name) {
  FileHandle run(std::fopen(name.c_str(), "w"));
  if (!run) return false;
  return chunk.Write(run.get()) && std::fclose(run.release()) == 0;
}

}  // namespace

bool AppendSortedLines(const std::string& input, std::FILE* out, LineSort& sort) {
  FileHandle file(std::fopen(input.c_str(), "r"));
  if (!file) return false;
  LineReader in(file.get());
  SortedChunk chunk;
  std::vector<std::string> runs;
  bool written = true;
  while (written && chunk.Read(in, sort.budget)) {
    sort.lines += chunk.Lines();
    // A file that fits the budget goes straight to the output.
    if (runs.empty() && std::feof(file.get())) return chunk.Write(out) && !std::ferror(file.get());
    runs.push_back(sort.runPrefix + std::to_string(runs.size()));
    written = WriteRun(chunk, runs.back());
  }
  written = written && !std::ferror(file.get()) && MergeRuns(runs, out);
  for (const std::string& run : runs) std::remove(run.c_str());
  return written;
}
