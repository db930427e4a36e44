#include "loaders/scene_terrain.h"

#include <array>

#include "base/pictures/picture_file.h"
#include "loaders/load_error.h"

namespace veltrane::loaders {
namespace {

constexpr double kHeightPerLevel = 0.2527;

constexpr std::array<std::array<double, 3>, 8> kShades = {{
    {0.2814, 0.4218, 0.15},
    {0.4032, 0.4314, 0.15},
    {0.2532, 0.3936, 0.1128},
    {0.2532, 0.4404, 0.1596},
    {0.1686, 0.4314, 0.1782},
    {0.1968, 0.375, 0.1686},
    {0.3378, 0.3378, 0.1404},
    {0.3282, 0.4686, 0.1878},
}};

// A corner whose vertex and reference may be taken over from a corner of an earlier
// triangle: the terrain is too big for the full searches.
struct Hint {
  int triangle = -1;  // index among the terrain triangles, -1: none
  int corner = 0;
};

}  // namespace

void SampleHeights(const SceneLayout& layout, HeightGrid& grid, SceneInfo& info) {
  pictures::Picture map;
  try {
    map = pictures::LoadPicture(layout.heightmapFile);
  } catch (const pictures::PictureError& e) {
    throw LoadError(std::string("Error: ") + e.what());
  }
  const int cells = layout.Cells();
  info.CellsX = cells;
  info.CellsY = cells;
  info.GridStep = static_cast<std::int32_t>(layout.step);

  // The picture's top row is the far edge (largest y).
  for (int g = 0; g < cells; ++g) {
    for (int c = 0; c < cells; ++c) {
      const int px = static_cast<int>(static_cast<std::int64_t>(c) * map.width / cells);
      const int py = static_cast<int>(static_cast<std::int64_t>(g) * map.height / cells);
      grid.At(c, cells - g) = static_cast<std::uint8_t>(255 - map.At(px, py)[0]);
    }
  }
  for (int c = 0; c < cells; ++c) grid.At(c, 0) = grid.At(c, 1);
  for (int r = 0; r <= cells; ++r) grid.At(cells, r) = grid.At(cells - 1, r);
}

void BuildScene(const SceneLayout& layout, MeshBuild& mb, SceneInfo& info, HeightGrid& grid,
                ProgramRandom& random, const Trace& trace) {
  trace("LoadLib.LoadSCN.BuildScene \r\n");
  info.HeightPerLevel = kHeightPerLevel;
  SampleHeights(layout, grid, info);

  std::array<int, 8> shade{};
  for (std::size_t k = 0; k < kShades.size(); ++k)
    shade[k] = mb.FindColor(kShades[k][0], kShades[k][1], kShades[k][2], 1.0);
  const int material = mb.FindMaterial(1.0, 0.1, 0.1, 0.1, 0.05, 0.05, 0.05);

  const int cells = layout.Cells();
  const std::int64_t step = layout.step, size = layout.size, L = layout.tileLength;
  // A scene without any texture has nothing to put on its tiles: they show their shades.
  const bool textured = mb.TexturesEnabled() && !mb.Textures().empty();
  const int firstFace = static_cast<int>(mb.Faces().size());
  const auto cornerRef = [&](const Hint& h) {
    return mb.Faces()[static_cast<std::size_t>(firstFace + h.triangle)]
        .corner[static_cast<std::size_t>(h.corner)];
  };

  int triangle = 0;
  for (int g = 0; g < cells; ++g) {
    for (int i = 0; i < cells; ++i) {
      const int k = random.NextInt(8);
      const std::int32_t texture = layout.tileMap[static_cast<std::size_t>(i * step / L)]
                                                 [static_cast<std::size_t>(g * step / L)];
      const auto addCorner = [&](int a, int b, const Hint& hint) {
        const MeshVertex p{static_cast<double>(a * step - size), kHeightPerLevel * grid.At(a, b),
                           static_cast<double>(b * step - size)};
        const double u = static_cast<double>(((i * step) % L + (a - i) * step) * 255 / L);
        const double v = static_cast<double>(255 - ((g * step) % L + (b - g) * step) * 255 / L);
        int hintVertex = -1, hintRef = -1;
        if (hint.triangle >= 0) {
          hintRef = cornerRef(hint);
          hintVertex = mb.Refs()[static_cast<std::size_t>(hintRef)].vertex;
        }
        const int vertex = mb.AddVertexHinted(p, hintVertex);
        return mb.AddVertexRefHinted(vertex, textured, u, v, hintRef);
      };
      const auto addTriangle = [&](const std::array<int, 3>& refs) {
        MeshFace f;
        f.cornerCount = 3;
        for (std::size_t c = 0; c < 3; ++c) f.corner[c] = refs[c];
        f.color = shade[static_cast<std::size_t>(k)];
        f.singleSided = true;
        f.texture = texture;
        f.material = material;
        mb.AppendFace(f);
        ++triangle;
      };
      const auto back = [&](int n, int corner) {
        return triangle - n >= 0 ? Hint{triangle - n, corner} : Hint{};
      };

      // Triangle A: (i, g), (i, g+1), (i+1, g).
      const int a0 = addCorner(i, g, i > 0 ? back(1, 1) : back(2 * cells, 1));
      const int a1 = addCorner(i, g + 1, back(1, 0));
      const int a2 = addCorner(i + 1, g, g > 0 ? back(2 * cells - 1, 0) : Hint{});
      addTriangle({a0, a1, a2});
      // Triangle B: (i+1, g+1), (i+1, g), (i, g+1).
      const int b0 = addCorner(i + 1, g + 1, Hint{});
      const int b1 = addCorner(i + 1, g, back(1, 2));
      const int b2 = addCorner(i, g + 1, back(1, 1));
      addTriangle({b0, b1, b2});
    }
  }

  info.PilotX += static_cast<double>(size);
  info.PilotY += static_cast<double>(size);
  info.StartX += static_cast<double>(size);
  info.StartY += static_cast<double>(size);
}

}  // namespace veltrane::loaders
