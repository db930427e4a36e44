// Loading the largest supported landscape: 299 cells on a side, about 180 000 terrain
// triangles, four texture tiles and a sky. The landscape is written by the benchmark itself.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "base/pictures/bmp_writer.h"
#include "base/pictures/picture_file.h"
#include "base/rm/root.h"
#include "loaders/scene_file.h"
#ifdef VELTRANE_HAVE_WORLD_COL
#include "sim/create_world_col.h"
#endif

namespace {

using namespace veltrane;

class Landscape {
 public:
  Landscape() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "veltrane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;

    // Rolling hills: smooth enough that neighbouring heights differ by a few levels.
    pictures::Picture height = pictures::MakePicture(512, 512);
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x) {
        const int level = (x * 3 + y * 5) % 512;
        height.At(x, y)[0] = static_cast<std::uint8_t>(level < 256 ? level : 511 - level);
      }
    pictures::WriteBmp(folder_ + "/hills.bmp", height);
    for (const char* name : {"grass", "rock", "sand", "sky"})
      pictures::WriteBmp(folder_ + "/" + name + ".bmp", pictures::MakePicture(64, 64, 90, 140, 60));

    std::ofstream(folder_ + "/big.scn") << "SCENE 1495 300 10\n"
                                           "3D_LANDSCAPE HILLS\n"
                                           "QUADRANT 0 0 4 10 GRASS\n"
                                           "QUADRANT 4 0 3 10 ROCK\n"
                                           "QUADRANT 7 0 3 10 SAND\n"
                                           "SKY 400 3000 SKY\n"
                                           "PILOT_POSITION 0 -100 0\n"
                                           "AIRCRAFT_POSITION AUTOMATIC\n"
                                           "END\n";
  }
  ~Landscape() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  std::string File() const { return folder_ + "/big.scn"; }

 private:
  std::string folder_;
};

const Landscape& TheLandscape() {
  static const Landscape landscape;
  return landscape;
}

rm::Root MakeRoot() { return rm::Root(pictures::LoadTexturePicture); }

struct Loaded {
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
  rm::MeshBuilder sky, terrain;
};

void Load(bool textures, Loaded& out) {
  rm::Root root = MakeRoot();
  ProgramRandom random;
  loaders::LoadSCN(TheLandscape().File(), root, textures, out.info, out.grid, out.sky, out.terrain,
                   random, Trace());
}

void BM_LoadSCN(benchmark::State& state) {
  const bool textures = state.range(0) != 0;
  std::size_t faces = 0;
  for (auto _ : state) {
    Loaded l;
    Load(textures, l);
    faces = l.terrain.FaceCount();
    benchmark::DoNotOptimize(faces);
  }
  state.counters["terrain_faces"] = static_cast<double>(faces);
  state.counters["faces_per_s"] =
      benchmark::Counter(static_cast<double>(faces), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadSCN)->ArgName("textures")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef VELTRANE_HAVE_WORLD_COL
void BM_CreateWorldCol(benchmark::State& state) {
  Loaded l;
  Load(false, l);
  std::size_t triangles = 0;
  for (auto _ : state) {
    collision::CollisionModel model = CreateWorldCol(l.terrain);
    triangles = model.TriangleCount();
    benchmark::DoNotOptimize(triangles);
  }
  state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_CreateWorldCol)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
