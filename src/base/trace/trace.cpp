#include "base/trace/trace.h"

#include <cstdio>
#include <stdexcept>

namespace veltrane {

Trace Trace::ToFile(const std::string& path) {
  if (path == "-") {
    return Trace([](std::string_view l) { std::fwrite(l.data(), 1, l.size(), stderr); });
  }
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) throw std::runtime_error("cannot open trace file " + path);
  std::shared_ptr<std::FILE> file(f, [](std::FILE* p) { std::fclose(p); });
  return Trace([file](std::string_view l) {
    std::fwrite(l.data(), 1, l.size(), file.get());
    std::fflush(file.get());
  });
}

}  // namespace veltrane
