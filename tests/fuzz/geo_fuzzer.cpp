// The ".geo" geometry reader with the textures it names (from the input too).

#include <cstdint>
#include <exception>

#include "fuzz_support.h"
#include "loaders/geo_file.h"
#include "sim/sim_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  fuzz::ClearScratch();
  const fuzz::TextWithAttachment in = fuzz::Split(data, size);
  fuzz::WriteNamedFiles(in.text, in.attachment);
  const std::string file = fuzz::WriteScratch("model.geo", in.text);
  rm::Root root = fuzz::DecodingRoot();
  rm::MeshBuilder mesh;
  SimState s;
  try {
    (void)loaders::LoadGEO(file, root, /*texturesEnabled=*/true, mesh, s, Trace());
  } catch (const std::exception&) {
  }
  return 0;
}
