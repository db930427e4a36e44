#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "sim/air/slope_flow.h"
#include "sim/air/terrain_grid.h"

namespace veltrane {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kGrey = 0.2527;  // metres per landscape grey level

TerrainGrid MakeGrid(int cells, double step, const std::function<double(double, double)>& height) {
  std::vector<double> h(static_cast<std::size_t>(cells + 1) * (cells + 1));
  for (int i = 0; i <= cells; ++i)
    for (int j = 0; j <= cells; ++j) h[static_cast<std::size_t>(i) * (cells + 1) + j] = height(i * step, j * step);
  return TerrainGrid(cells, step, std::move(h));
}

// Horizontal unit vector the wind blows along, for a wind from `from` degrees.
struct Dir {
  double x, y;
};
Dir Downwind(double from) { return {-std::sin(from * kPi / 180.0), -std::cos(from * kPi / 180.0)}; }

// A point at `along` metres downwind of (cx, cy) and `z` metres above sea level,
// given to the flow as height above the terrain; returns the factor split into
// the downwind and vertical parts.
struct Local {
  double along, up, across;
};
Local Probe(const SlopeFlow& flow, double from, double cx, double cy, double along, double z) {
  const Dir d = Downwind(from);
  const double x = cx + along * d.x, y = cy + along * d.y;
  const Vec3 f = flow.FactorAt(x, y, z - flow.Terrain().HeightAt(x, y));
  return {f.x * d.x + f.y * d.y, f.z, f.x * d.y - f.y * d.x};
}

double AngleDeg(double up, double along) { return std::atan2(up, along) * 180.0 / kPi; }

// A half cylinder of radius r lying across the wind through the grid centre;
// the grid's edge extension carries it on without end.
TerrainGrid CylinderRidge(double from, double radius, int cells, double step) {
  const Dir d = Downwind(from);
  const double c = cells * step / 2.0;
  return MakeGrid(cells, step, [=](double x, double y) {
    const double q = (x - c) * d.x + (y - c) * d.y;
    return std::sqrt(std::max(radius * radius - q * q, 0.0));
  });
}

TEST(SlopeFlow, HalfCylinderRidgeMatchesPotentialFlowAtAnyWindDirection) {
  constexpr double kR = 50.0;
  constexpr int kCells = 160;
  constexpr double kStep = 2.5;
  const double c = kCells * kStep / 2.0;
  std::printf("half cylinder R = %.0f m, step %.1f m: flow angle atan2(w, along), degrees\n", kR, kStep);
  for (double from : {270.0, 30.0, 225.0}) {
    const auto flow = SlopeFlow::Compute(CylinderRidge(from, kR, kCells, kStep), from);
    std::printf("wind from %3.0f deg\n  elev  r/R   computed  analytic\n", from);
    for (double elevation : {30.0, 45.0, 60.0}) {
      for (double r : {1.2, 1.5, 2.0}) {
        const double e = elevation * kPi / 180.0;
        const Local f = Probe(*flow, from, c, c, -r * kR * std::cos(e), r * kR * std::sin(e));
        // Analytic: dW/dz = 1 - R^2 / z^2 = u - i w around the cylinder.
        const std::complex<double> z(-r * std::cos(e), r * std::sin(e));
        const std::complex<double> v = 1.0 - 1.0 / (z * z);
        const double analytic = AngleDeg(-v.imag(), v.real());
        const double computed = AngleDeg(f.up, f.along);
        std::printf("  %4.0f  %3.1f  %8.1f  %8.1f\n", elevation, r, computed, analytic);
        EXPECT_NEAR(computed, analytic, 0.25 * std::abs(analytic))
            << "from " << from << " elevation " << elevation << " r/R " << r;
        EXPECT_NEAR(f.across, 0.0, 1e-3);
      }
    }
    // Over the crest: speed-up, level flow, fading with height.
    std::printf("  above crest  h/R  speed  analytic  angle\n");
    for (double r : {1.1, 1.5, 2.0, 3.0}) {
      const Local f = Probe(*flow, from, c, c, 0.0, r * kR);
      std::printf("               %3.1f  %5.2f  %8.2f  %5.1f\n", r - 1.0, std::hypot(f.along, f.up),
                  1.0 + 1.0 / (r * r), AngleDeg(f.up, f.along));
      EXPECT_NEAR(AngleDeg(f.up, f.along), 0.0, 6.0);
      if (r == 1.1) {
        EXPECT_GE(f.along, 1.3);
      } else {
        EXPECT_LT(f.along, 1.0 + 1.0 / (r * r) + 0.1);
      }
    }
  }
}

}  // namespace
}  // namespace veltrane
