// The ".mdl" geometry reader and the mesh it builds.

#include <cstdint>
#include <exception>

#include "fuzz_support.h"
#include "loaders/mdl_file.h"
#include "sim/sim_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  fuzz::ClearScratch();
  const fuzz::TextWithAttachment in = fuzz::Split(data, size);
  fuzz::WriteNamedFiles(in.text, in.attachment);
  const std::string file = fuzz::WriteScratch("model.mdl", in.text);
  rm::Root root = fuzz::DecodingRoot();
  rm::MeshBuilder mesh;
  SimState s;
  try {
    (void)loaders::LoadMDL(file, root, mesh, s, Trace());
  } catch (const std::exception&) {
  }
  return 0;
}
