#include "record/flight_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "record/flight_reader.h"

namespace veltrane::record {

namespace fs = std::filesystem;

namespace {

std::string NameOnly(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The recordings of folder, oldest first: the names sort by their time.
std::vector<std::string> FlightFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p.extension() == kFlightExtension && p.filename().string().rfind("flight-", 0) == 0)
      files.push_back(p.string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::string NewFlightPath(const std::string& folder, std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = (fs::path(folder) / (std::string("flight-") + stamp)).string();
  std::string path = base + kFlightExtension;
  std::error_code ec;
  for (int n = 2; fs::exists(path, ec); ++n)
    path = base + "-" + std::to_string(n) + kFlightExtension;
  return path;
}

void PruneFlights(const std::string& folder, std::size_t keep) {
  std::vector<std::string> files = FlightFiles(folder);
  std::error_code ec;
  for (std::size_t i = 0; i + keep < files.size(); ++i) fs::remove(files[i], ec);
}

std::vector<FlightEntry> ListFlights(const std::string& folder) {
  std::vector<FlightEntry> list;
  std::vector<std::string> files = FlightFiles(folder);
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    FlightEntry e;
    e.path = *it;
    try {
      const Recording rec = ReadRecording(*it);
      e.startedAt = rec.header.startedAt;
      e.model = NameOnly(rec.header.modelFile);
      e.landscape = NameOnly(rec.header.landscapeFile);
      e.durationSeconds = static_cast<double>(rec.DurationMs()) / 1000.0;
    } catch (const std::exception& ex) {
      e.model = NameOnly(*it);
      e.problem = ex.what();
    }
    list.push_back(std::move(e));
  }
  return list;
}

std::string FormatDate(std::int64_t secondsSince1970) {
  const std::time_t t = static_cast<std::time_t>(secondsSince1970);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace veltrane::record
