// Slope flow over the largest landscape (299 x 299 cells, 5 m step, hilly,
// 0-65 m): the precompute once per terrain and wind direction (target under
// 100 ms), a query (well under 1 us) and the memory the precomputed field keeps
// (counter field_bytes: bytes still allocated once Compute returned, besides
// the terrain copy it holds).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "sim/air/slope_flow.h"
#include "sim/air/terrain_grid.h"

namespace {
std::atomic<long long> liveBytes{0};
}  // namespace

// Counted by the allocator's own block size, so delete needs no header of ours.
// GCC sees the free() below meet a pointer from operator new once both are
// inlined and warns, though this pair is the program's whole allocator.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  void* p = std::malloc(size);
  if (!p) throw std::bad_alloc();
  liveBytes += static_cast<long long>(malloc_usable_size(p));
  return p;
}
void operator delete(void* block) noexcept {
  if (!block) return;
  liveBytes -= static_cast<long long>(malloc_usable_size(block));
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
#pragma GCC diagnostic pop

namespace veltrane {
namespace {

constexpr int kCells = 299;
constexpr double kStep = 5.0;

const TerrainGrid& Hills() {
  static const TerrainGrid grid = [] {
    std::vector<double> h(static_cast<std::size_t>(kCells + 1) * (kCells + 1));
    for (int i = 0; i <= kCells; ++i)
      for (int j = 0; j <= kCells; ++j) {
        const double x = i * kStep, y = j * kStep;
        const double v = 32.0 + 18.0 * std::sin(x * 0.006) * std::cos(y * 0.005) +
                         10.0 * std::sin(x * 0.021 + y * 0.013) +
                         5.0 * std::cos(x * 0.05 - y * 0.043);
        // Whole grey levels, as a landscape's heightmap holds them.
        h[static_cast<std::size_t>(i) * (kCells + 1) + j] =
            std::round(std::clamp(v, 0.0, 64.4) / 0.2527) * 0.2527;
      }
    return TerrainGrid(kCells, kStep, std::move(h));
  }();
  return grid;
}

void BM_Compute(benchmark::State& state) {
  const double from = static_cast<double>(state.range(0));
  const TerrainGrid& terrain = Hills();
  long long field = 0;
  for (auto _ : state) {
    const long long before = liveBytes.load();
    auto flow = SlopeFlow::Compute(terrain, from);
    field = liveBytes.load() - before;
    benchmark::DoNotOptimize(flow);
  }
  const long long terrainBytes =
      static_cast<long long>(sizeof(double)) * (kCells + 1) * (kCells + 1);
  state.counters["field_bytes"] = static_cast<double>(field - terrainBytes);
  state.SetLabel("299x299 cells");
}
BENCHMARK(BM_Compute)->Arg(0)->Arg(30)->Arg(225)->Unit(benchmark::kMillisecond);

void BM_FactorAt(benchmark::State& state) {
  const auto flow = SlopeFlow::Compute(Hills(), 30.0);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pos(-50.0, kCells * kStep + 50.0), height(0.0, 150.0);
  std::vector<veltrane::Vec3> points(4096);
  for (auto& p : points) p = {pos(rng), pos(rng), height(rng)};
  std::size_t k = 0;
  for (auto _ : state) {
    const Vec3& p = points[k++ & 4095];
    benchmark::DoNotOptimize(flow->FactorAt(p.x, p.y, p.z));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FactorAt);

}  // namespace
}  // namespace veltrane
