#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace veltrane::record {

constexpr std::size_t kFlightsKept = 50;
constexpr const char* kFlightExtension = ".vflight";

// One recorded flight as the list of flights shows it.
struct FlightEntry {
  std::string path;
  std::int64_t startedAt = 0;  // seconds since 1970
  std::string model;           // file names without folder
  std::string landscape;
  double durationSeconds = 0.0;
  std::string problem;  // why it cannot be replayed; empty when it can
};

// A new file name in folder for a flight started at `when` (local time),
// "flight-YYYYMMDD-HHMMSS.vflight", with "-2", "-3" ... when that exists.
std::string NewFlightPath(const std::string& folder, std::time_t when);
// Deletes the oldest flights (by name) until `keep` are left.
void PruneFlights(const std::string& folder, std::size_t keep = kFlightsKept);
// The flights in folder, newest first.
std::vector<FlightEntry> ListFlights(const std::string& folder);
// "2026-12-08 18:51"
std::string FormatDate(std::int64_t secondsSince1970);

}  // namespace veltrane::record
