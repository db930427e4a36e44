#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// Where the program's trace lines go. Lines carry their own "\r\n", exactly as
// written by the caller. Discarded by default; a file, stderr or memory on demand.
class Trace {
 public:
  Trace() = default;
  explicit Trace(std::function<void(std::string_view)> sink) : sink_(std::move(sink)) {}

  void Write(std::string_view line) const {
    if (sink_) sink_(line);
  }
  void operator()(std::string_view line) const { Write(line); }

  // "-" is stderr; anything else a file opened for appending. Throws on failure.
  static Trace ToFile(const std::string& path);

 private:
  std::function<void(std::string_view)> sink_;
};

// Collects trace lines in memory, for tests.
class TraceCapture {
 public:
  Trace Sink() {
    return Trace([this](std::string_view l) { lines_.emplace_back(l); });
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }
  bool Contains(std::string_view line) const {
    for (const auto& l : lines_)
      if (l == line) return true;
    return false;
  }
  std::size_t Count(std::string_view line) const {
    std::size_t n = 0;
    for (const auto& l : lines_)
      if (l == line) ++n;
    return n;
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace veltrane
