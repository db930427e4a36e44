#include "app/tasks/results_store.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/settings/safe_replace.h"

namespace veltrane::tasks {
namespace {

namespace fs = std::filesystem;

constexpr int kVersion = 1;
// Far more than kMaxResults runs take; anything bigger is not ours.
constexpr std::uintmax_t kMaxFileSize = 16u << 20;

bool Same(const TaskResult& r, const std::string& task, const std::string& model,
          const std::string& landscape) {
  return r.task == task && r.model == model && r.landscape == landscape;
}

// Reads the runs of `text`; throws on anything that is not a results file.
std::vector<TaskResult> Parse(const std::string& text) {
  const nlohmann::json j = nlohmann::json::parse(text);
  if (!j.is_object() || j.at("version").get<int>() != kVersion)
    throw std::runtime_error("not a results file of version " + std::to_string(kVersion));
  std::vector<TaskResult> out;
  for (const auto& r : j.at("results")) out.push_back(ResultFromJson(r));
  return out;
}

}  // namespace

nlohmann::json ResultJson(const TaskResult& r) {
  return {{"task", r.task},
          {"model", r.model},
          {"landscape", r.landscape},
          {"wind", {{"speed", r.windSpeed}, {"from", r.windFrom}}},
          {"date", r.date},
          {"score", r.score ? nlohmann::json(*r.score) : nlohmann::json(nullptr)},
          {"details", r.details},
          {"flight", r.flight}};
}

TaskResult ResultFromJson(const nlohmann::json& j) {
  TaskResult r;
  r.task = j.at("task").get<std::string>();
  r.model = j.at("model").get<std::string>();
  r.landscape = j.at("landscape").get<std::string>();
  r.windSpeed = j.at("wind").at("speed").get<double>();
  r.windFrom = j.at("wind").at("from").get<double>();
  r.date = j.at("date").get<std::string>();
  if (!j.at("score").is_null()) r.score = j.at("score").get<double>();
  r.details = j.at("details");
  r.flight = j.at("flight").get<std::string>();
  return r;
}

bool RanksAbove(const TaskResult& a, const TaskResult& b) {
  if (a.score.has_value() != b.score.has_value()) return a.score.has_value();
  if (a.score && *a.score != *b.score)
    return a.task == "f3f" ? *a.score < *b.score : *a.score > *b.score;
  return a.date < b.date;
}

ResultsStore::ResultsStore(fs::path file, Trace trace)
    : file_(std::move(file)), trace_(std::move(trace)) {}

std::string ResultsStore::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return buf;
}

void ResultsStore::Load() {
  results_.clear();
  std::error_code ec;
  const fs::file_status st = fs::status(file_, ec);
  if (!fs::exists(st)) return;
  try {
    if (!fs::is_regular_file(st)) throw std::runtime_error("not a regular file");
    if (fs::file_size(file_) > kMaxFileSize) throw std::runtime_error("larger than 16 MB");
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw std::runtime_error("cannot be read");
    results_ = Parse(text.str());
  } catch (const std::exception& e) {
    results_.clear();
    PutAside(e.what());
  }
}

void ResultsStore::PutAside(const std::string& why) {
  // Date and a counter keep every bad file for whoever wants to look at it.
  std::string date = Now();
  date.erase(std::remove(date.begin(), date.end(), ':'), date.end());
  fs::path aside;
  for (int i = 0;; ++i) {
    aside = file_;
    aside += ".bad-" + date + (i ? "-" + std::to_string(i) : "");
    std::error_code ec;
    if (!fs::exists(aside, ec) || i > 100) break;
  }
  std::error_code ec;
  fs::rename(file_, aside, ec);
  trace_("Results " + file_.string() + " unreadable (" + why + "), " +
         (ec ? "left in place: " + ec.message() : "kept as " + aside.filename().string()) + "\r\n");
}

void ResultsStore::Trim() {
  while (results_.size() > kMaxResults) {
    // Runs are kept in the order they were added: the first that is not the
    // best of its kind is the oldest such.
    std::size_t drop = 0;
    for (; drop < results_.size(); ++drop) {
      const TaskResult& r = results_[drop];
      const bool best = std::none_of(results_.begin(), results_.end(), [&](const TaskResult& o) {
        return &o != &r && Same(o, r.task, r.model, r.landscape) && RanksAbove(o, r);
      });
      if (!best) break;
    }
    if (drop == results_.size()) drop = 0;
    const fs::path flight = results_[drop].flight;
    results_.erase(results_.begin() + static_cast<std::ptrdiff_t>(drop));
    std::error_code ec;
    if (!flight.empty() && flight.parent_path() == KeptFlights()) fs::remove(flight, ec);
  }
}

std::string ResultsStore::KeepFlight(const std::string& flight) const {
  if (flight.empty() || fs::path(flight).parent_path() == KeptFlights()) return flight;
  std::error_code ec;
  fs::create_directories(KeptFlights(), ec);
  // The recording's own name is unique among the flights; a counter keeps a
  // second copy of the same name apart.
  const fs::path name = fs::path(flight).filename();
  fs::path target = KeptFlights() / name;
  for (int i = 1; fs::exists(target, ec) && i < 1000; ++i)
    target = KeptFlights() /
             (name.stem().string() + "-" + std::to_string(i) + name.extension().string());
  if (!fs::copy_file(flight, target, ec)) {
    trace_("Results: recorded flight " + flight + " not kept: " + ec.message() + "\r\n");
    return flight;
  }
  return target.string();
}

bool ResultsStore::Add(const TaskResult& result) {
  try {
    fs::create_directories(file_.parent_path());
    FolderLock lock(file_.parent_path());
    Load();
    results_.push_back(result);
    results_.back().flight = KeepFlight(result.flight);
    Trim();
    nlohmann::json all = nlohmann::json::array();
    for (const TaskResult& r : results_) all.push_back(ResultJson(r));
    const nlohmann::json doc = {{"version", kVersion}, {"results", std::move(all)}};
    ReplaceFile(ReplacementTarget(file_), doc.dump(1) + "\n");
    return true;
  } catch (const std::exception& e) {
    trace_("Results " + file_.string() + " not saved: " + e.what() + "\r\n");
    return false;
  }
}

std::vector<TaskResult> ResultsStore::Ranking(const std::string& task, const std::string& model,
                                              const std::string& landscape) const {
  std::vector<TaskResult> out;
  for (const TaskResult& r : results_)
    if (Same(r, task, model, landscape)) out.push_back(r);
  std::stable_sort(out.begin(), out.end(), RanksAbove);
  return out;
}

std::optional<std::string> ResultsStore::BestFlight(const std::string& task,
                                                    const std::string& model,
                                                    const std::string& landscape) const {
  for (const TaskResult& r : Ranking(task, model, landscape)) {
    std::error_code ec;
    if (r.score && !r.flight.empty() && fs::is_regular_file(r.flight, ec)) return r.flight;
  }
  return std::nullopt;
}

}  // namespace veltrane::tasks
