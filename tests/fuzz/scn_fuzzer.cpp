// The landscape reader: the ".scn" text, and every picture it names (height
// map, textures, sky) made of the bytes after the text's "\n#%#%\n" mark.

#include <cstdint>
#include <exception>

#include "fuzz_support.h"
#include "loaders/scene_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  fuzz::ClearScratch();
  const fuzz::TextWithAttachment in = fuzz::Split(data, size);
  fuzz::WriteNamedFiles(in.text, in.attachment);
  const std::string file = fuzz::WriteScratch("scene.scn", in.text);
  rm::Root root = fuzz::DecodingRoot();
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
  rm::MeshBuilder sky, terrain;
  ProgramRandom random;
  loaders::SceneBuilds builds;
  try {
    loaders::LoadSCN(file, root, /*texturesEnabled=*/true, info, grid, sky, terrain, random,
                     Trace(), &builds);
  } catch (const std::exception&) {
  }
  return 0;
}
