#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "loaders/geo_file.h"
#include "loaders/mesh_build.h"

namespace veltrane::loaders {
namespace {

// A closed grid surface of n x n quads: every inner vertex is found again three times.
void FillGrid(MeshBuild& mb, int n) {
  mb.AppendColor({1, 1, 1, 1});
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      MeshFace f;
      f.cornerCount = 4;
      const int di[4] = {0, 1, 1, 0}, dj[4] = {0, 0, 1, 1};
      for (int k = 0; k < 4; ++k) {
        const double x = (i + di[k]) * 0.01, z = (j + dj[k]) * 0.01;
        const int v = mb.AddVertex({x, std::sin(x * 7) * std::cos(z * 5), z});
        f.corner[static_cast<std::size_t>(k)] = mb.AddVertexRef(v, false, 0, 0);
      }
      mb.AppendFace(f);
    }
}

void BM_AddVertexGrid(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    MeshBuild mb;
    FillGrid(mb, n);
    benchmark::DoNotOptimize(mb.Vertices().size());
  }
  state.SetItemsProcessed(state.iterations() * n * n * 4);
}
BENCHMARK(BM_AddVertexGrid)->Arg(70)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_AssembleMesh(benchmark::State& state) {
  MeshBuild mb;
  FillGrid(mb, static_cast<int>(state.range(0)));
  rm::Root root;
  for (auto _ : state) {
    rm::MeshBuilder target;
    AssembleMesh(mb, root, target);
    benchmark::DoNotOptimize(target.FaceCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(mb.Faces().size()));
}
BENCHMARK(BM_AssembleMesh)->Arg(70)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_LoadGeo(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "veltrane-geo-bench";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "grid.geo").string();
  {
    std::ofstream out(path);
    out << "OBJECT BODY 0 0 0 1 0 0 0 1 0\nTEXTURE OFF CULL ON COLOR 0.5 0.5 0.5 0 0 TRIANGLES\n";
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const auto p = [&](int a, int b) { out << a * 0.01 << ' ' << b * 0.01 << " 0  "; };
        p(i, j), p(i + 1, j), p(i, j + 1);
        out << '\n';
        p(i + 1, j), p(i + 1, j + 1), p(i, j + 1);
        out << '\n';
      }
    out << "END\n";
  }
  rm::Root root;
  SimState s;
  for (auto _ : state) {
    rm::MeshBuilder target;
    LoadGEO(path, root, false, target, s, Trace());
    benchmark::DoNotOptimize(target.FaceCount());
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadGeo)->Arg(50)->Arg(150)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane::loaders
