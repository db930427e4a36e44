#pragma once

#include <cstddef>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "base/trace/trace.h"

namespace veltrane::tasks {

// One finished run as the results file keeps it.
struct TaskResult {
  std::string task;  // "f3f", "duration", "limbo"
  std::string model;
  std::string landscape;
  double windSpeed = 0.0;
  double windFrom = 0.0;
  std::string date;  // UTC, "2026-12-09T16:19:19Z"
  std::optional<double> score;
  nlohmann::json details = nlohmann::json::object();
  std::string flight;  // the recorded flight, empty when none was kept
};

// Whether run a ranks above run b of the same task: the shorter slope race,
// the higher score otherwise; a run without a score last; of equal ones the
// earlier.
bool RanksAbove(const TaskResult& a, const TaskResult& b);

// The results file, $XDG_DATA_HOME/veltrane/results.json in the program. A
// missing file is no results; one that cannot be read is moved aside to
// "results.json.bad-<date>" with a trace line, and the store starts empty.
class ResultsStore {
 public:
  // The file keeps at most this many runs; beyond it the oldest that is not
  // the best of its task, model and landscape goes.
  static constexpr std::size_t kMaxResults = 2000;

  ResultsStore(std::filesystem::path file, Trace trace = {});

  void Load();
  const std::vector<TaskResult>& Results() const { return results_; }

  // Reads the file again and writes it with the run added, under the folder's
  // lock, so that two programs keep each other's runs. The run's recorded
  // flight is copied to "results/" beside the file, out of reach of the
  // flights folder's rotation, and the run names the copy. False (and a trace
  // line) when the file cannot be written.
  bool Add(const TaskResult& result);

  // The runs of one task, model and landscape, best first.
  std::vector<TaskResult> Ranking(const std::string& task, const std::string& model,
                                  const std::string& landscape) const;
  // The recorded flight of the best of those runs that kept one still on disk.
  std::optional<std::string> BestFlight(const std::string& task, const std::string& model,
                                        const std::string& landscape) const;

  static std::string Now();  // the date format of TaskResult

 private:
  void PutAside(const std::string& why);
  void Trim();
  std::filesystem::path KeptFlights() const { return file_.parent_path() / "results"; }
  std::string KeepFlight(const std::string& flight) const;

  std::filesystem::path file_;
  Trace trace_;
  std::vector<TaskResult> results_;
};

nlohmann::json ResultJson(const TaskResult& r);
// Throws nlohmann::json::exception for a run that lacks a field or has one of the wrong type.
TaskResult ResultFromJson(const nlohmann::json& j);

}  // namespace veltrane::tasks
