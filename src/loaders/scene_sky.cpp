#include "loaders/scene_sky.h"

#include <array>

namespace veltrane::loaders {

void AddSky(const SkyDome& dome, MeshBuild& mb, const Trace& trace) {
  trace("LoadLib.LoadSCN.AddSky \r\n");
  if (dome.height == 0.0 || !mb.TexturesEnabled()) return;

  const int texture = mb.AppendTexture(TextureEntry{dome.textureFile, false});
  const int material = mb.FindMaterial(0.0, 1.0, 1.0, 1.0, 0.0, 0.0, 0.0);
  const int color = mb.FindColor(0.79, 0.92, 1.0, 1.0);

  // Grid point (i, j) of the dome; the picture repeats about three times across it.
  const auto ref = [&](int i, int j) {
    const double fi = (i - 5) / 5.0, fj = (j - 5) / 5.0;
    const double x = (i - 5) * dome.halfWidth / 5.0;
    const double y = (j - 5) * dome.halfWidth / 5.0;
    const double z = dome.height * (1.0 - fi * fi) * (1.0 - fj * fj);
    const int vertex = mb.AddVertex(MeshVertex{x, z, y});  // file z is up
    return mb.AddVertexRef(vertex, true, 3.0 * i / 10.0 * 256.0, 3.0 * j / 10.0 * 256.0);
  };
  for (int i = 0; i < 10; ++i) {
    for (int j = 0; j < 10; ++j) {
      MeshFace f;
      f.cornerCount = 4;
      const std::array<int, 4> corners = {ref(i, j), ref(i + 1, j), ref(i + 1, j + 1),
                                          ref(i, j + 1)};
      for (std::size_t c = 0; c < 4; ++c) f.corner[c] = corners[c];
      f.color = color;
      f.singleSided = true;
      f.texture = texture;
      f.material = material;
      mb.AppendFace(f);
    }
  }
}

}  // namespace veltrane::loaders
