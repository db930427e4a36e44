#include "tool_runner.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace veltrane::content_test {

std::string DataFile(const std::string& relative) {
  return std::string(VELTRANE_DATA_DIR) + "/" + relative;
}

std::string RunTool(const std::string& args, int* status) {
  const std::string cmd = std::string(VELTRANE_TOOL) + " " + args + " 2>&1";
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) {
    *status = -1;
    return out;
  }
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  const int rc = pclose(p);
  *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

namespace {

std::vector<Row> ReadCsv(const std::string& path) {
  std::ifstream f(path);
  std::string line;
  std::vector<std::string> names;
  std::vector<Row> rows;
  if (!std::getline(f, line)) return rows;
  std::stringstream header(line);
  for (std::string name; std::getline(header, name, ',');) names.push_back(name);
  while (std::getline(f, line)) {
    std::stringstream cells(line);
    Row r;
    size_t i = 0;
    for (std::string cell; std::getline(cells, cell, ',') && i < names.size(); ++i)
      r.v[names[i]] = std::stod(cell);
    rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace

Flight Fly(const std::string& model, double duration, const std::string& script,
           const std::string& landscape) {
  const test_support::TempDir temp;
  const std::filesystem::path& dir = temp.path();
  const std::string script_file = (dir / "script.txt").string();
  const std::string csv_file = (dir / "telemetry.csv").string();
  std::ofstream(script_file) << script;
  std::ostringstream args;
  args << "fly --model " << DataFile(model) << " --landscape " << DataFile(landscape)
       << " --script " << script_file << " --duration " << duration << " --csv " << csv_file;
  int status = 0;
  const std::string out = RunTool(args.str(), &status);
  Flight f;
  EXPECT_EQ(status, 0) << out;
  if (status != 0) return f;
  f.summary = nlohmann::json::parse(out);
  f.rows = ReadCsv(csv_file);
  return f;
}

}  // namespace veltrane::content_test
