#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "loaders/mesh_build.h"
#include "sim/random.h"

namespace veltrane::loaders {

// What the scene loader hands to the main window. Fields the loader does not write keep
// the caller's values.
struct SceneInfo {
  std::int32_t Reserved = 0;    // never written by the loader
  std::int32_t GridStep = 0;    // model units per terrain cell
  double HeightPerLevel = 0.0;  // model units per heightmap grey level
  std::int32_t CellsX = 0;      // terrain cells along x
  std::int32_t CellsY = 0;      // and along y (the terrain is square)
  double PilotX = 0.0, PilotY = 0.0;
  double StartX = 0.0, StartY = 0.0;
  // The windsock's foot (x, y like the pilot's; it stands on the ground): the file's
  // "WINDPOLE", else kWindpoleRight metres to the right of the pilot facing +y.
  static constexpr double kWindpoleRight = 15.0;
  double WindpoleX = 0.0, WindpoleY = 0.0;
  // The wind the landscape is made for (its "WIND" item), if it names one.
  struct UsualWind {
    double speed = 0.0;        // m/s 10 m above the terrain, 0..20
    double fromDegrees = 0.0;  // 0 = from +y, 90 = from +x; 0..360
  };
  std::optional<UsualWind> Wind;
  // The slope race's course the landscape names ("F3F_COURSE"): its middle
  // (x, y like the pilot's) and the direction the pilot faces there, into the
  // usual wind (0 = +y, 90 = +x; 0..360).
  struct Course {
    double x = 0.0, y = 0.0;
    double facingDegrees = 0.0;
  };
  std::optional<Course> F3fCourse;
  // The centre of the landing spot ("LANDING_SPOT"), x, y like the pilot's.
  std::optional<std::pair<double, double>> LandingSpot;
  // The landscape's own picture of the land around it ("PANORAMA"), resolved
  // beside the file; empty when it names none.
  std::string PanoramaFile;
};

// Height level (0..255) of every terrain grid point, [column][row]; only the scene loader
// writes it. Grid points 0..cells along each side are used, so cells + 1 <= kSize.
class HeightGrid {
 public:
  static constexpr int kSize = 300;

  HeightGrid() : levels_(static_cast<std::size_t>(kSize) * kSize, 0) {}

  std::uint8_t& At(int column, int row) { return levels_[Index(column, row)]; }
  std::uint8_t At(int column, int row) const { return levels_[Index(column, row)]; }

 private:
  static std::size_t Index(int column, int row) {
    return static_cast<std::size_t>(column) * kSize + static_cast<std::size_t>(row);
  }
  std::vector<std::uint8_t> levels_;
};

// The collected polygons of terrain and sky, for inspection tools.
struct SceneBuilds {
  MeshBuild terrain;
  MeshBuild sky;
  // False: the terrain is left here and not assembled into the `terrain`
  // builder, for a caller that reads it in place (moved by shift in x and z).
  bool assembleTerrain = true;
  float shift = 0.0f;
};

// Reads a landscape ".scn" file: the heightmap terrain with the file's own quads and lines
// goes into `terrain`, the sky dome into `sky` (both new and empty; each is translated by
// (size, 0, size) so the terrain covers 0 .. 2 * size in display x and z). `info` and `grid`
// receive the grid values, pilot and start positions. Terrain shades come from `random`.
// Throws LoadError with the message the user sees; nothing is assembled then.
void LoadSCN(const std::string& fileName, rm::Root& root, bool texturesEnabled, SceneInfo& info,
             HeightGrid& grid, rm::MeshBuilder& sky, rm::MeshBuilder& terrain,
             ProgramRandom& random, const Trace& trace, SceneBuilds* builds = nullptr);

// The wind a landscape names, read without building its terrain (for lists of
// landscapes); none when it names none or does not read.
std::optional<SceneInfo::UsualWind> ReadSceneWind(const std::string& fileName);

}  // namespace veltrane::loaders
