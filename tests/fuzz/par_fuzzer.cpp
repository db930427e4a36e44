// The flight parameter reader: arbitrary text as a model's ".par" file.

#include <cstdint>
#include <exception>
#include <string_view>

#include "fuzz_support.h"
#include "loaders/par_file.h"
#include "sim/sim_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  fuzz::ClearScratch();
  const std::string file =
      fuzz::WriteScratch("model.par", std::string_view(reinterpret_cast<const char*>(data), size));
  SimState s;
  try {
    loaders::LoadPAR(s, file, Trace());
  } catch (const std::exception&) {
  }
  return 0;
}
