// Prints the flying-qualities table of the shipped models (or of the models named on
// the command line, by their file under the data folder).
//   veltrane-flying-qualities DATA_DIR [Model/name.par ...]
#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "qualities.h"

int main(int argc, char** argv) {
  using namespace veltrane::qualities;
  if (argc < 2) {
    std::fprintf(stderr, "usage: veltrane-flying-qualities DATA_DIR [Model/FILE ...]\n");
    return 2;
  }
  std::vector<std::pair<ShippedModel, Figures>> rows;
  try {
    for (const ShippedModel& m : ShippedModels()) {
      bool wanted = argc == 2;
      for (int i = 2; i < argc; ++i) wanted = wanted || m.file == argv[i];
      if (wanted) rows.emplace_back(m, Measure(m, argv[1]));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "veltrane-flying-qualities: %s\n", e.what());
    return 1;
  }
  std::fputs(Table(rows).c_str(), stdout);
  return 0;
}
