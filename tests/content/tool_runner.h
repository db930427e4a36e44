#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace veltrane::content_test {

// One telemetry row of `veltrane-tool fly`, by column name.
struct Row {
  std::map<std::string, double> v;
  double operator[](const std::string& key) const { return v.at(key); }
  double Agl() const { return v.at("z") - v.at("ground_height"); }
};

struct Flight {
  nlohmann::json summary;
  std::vector<Row> rows;
};

std::string DataFile(const std::string& relative);

// Flies `model` on the default landscape with the given command script (one command a
// line) and returns the JSON summary and the telemetry. The tool loads the geometry
// beside the model, which sets its ground clearance. Fails the test on tool errors.
Flight Fly(const std::string& model, double duration, const std::string& script,
           const std::string& landscape = "Landscape/world.scn");

// Runs the tool with the given arguments and returns its standard output and exit status.
std::string RunTool(const std::string& args, int* status);

}  // namespace veltrane::content_test
