#include "tools/veltrane_tool/landscape.h"

#include <filesystem>

#include "app/scene_course.h"
#include "base/rm/root.h"
#include "loaders/scene_air.h"
#include "loaders/scene_file.h"
#include "sim/collision_world.h"
#include "sim/create_world_col.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {

Landscape FlatLandscape() {
  Landscape l;
  l.world = std::make_unique<FlatWorld>();
  return l;
}

Landscape LoadLandscape(const std::string& path, SimState& s, const Trace& trace) {
  RequireFile(path, "landscape file");
  // No picture decoder: the flight needs only the geometry.
  rm::Root root;
  root.SetSearchPath(std::filesystem::path(path).parent_path().string());
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
  rm::MeshBuilder sky, terrain;
  loaders::LoadSCN(path, root, false, info, grid, sky, terrain, s.Random, trace);
  Landscape l;
  l.world = std::make_unique<CollisionWorld>(CreateWorldCol(terrain));
  s.Air.SetTerrain(loaders::TerrainFromScene(info, grid));
  l.pilotX = info.PilotX;
  l.pilotY = info.PilotY;
  l.startX = info.StartX;
  l.startY = info.StartY;
  l.wind = info.Wind;
  l.course = SceneCourseOf(info, *l.world);
  return l;
}

}  // namespace veltrane::tool
