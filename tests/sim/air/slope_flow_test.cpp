#include "sim/air/slope_flow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "sim/air/terrain_grid.h"

namespace veltrane {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kGrey = 0.2527;  // metres per landscape grey level

TerrainGrid MakeGrid(int cells, double step, const std::function<double(double, double)>& height) {
  std::vector<double> h(static_cast<std::size_t>(cells + 1) * (cells + 1));
  for (int i = 0; i <= cells; ++i)
    for (int j = 0; j <= cells; ++j)
      h[static_cast<std::size_t>(i) * (cells + 1) + j] = height(i * step, j * step);
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
  std::printf("half cylinder R = %.0f m, step %.1f m: flow angle atan2(w, along), degrees\n", kR,
              kStep);
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
    // Far above the effect's reach the free stream holds exactly.
    const Local high = Probe(*flow, from, c, c, 0.0, 20.0 * kR);
    EXPECT_EQ(high.along, 1.0);
    EXPECT_EQ(high.up, 0.0);
  }
}

// Terrain across the wind from 270 (blowing towards +x): flat at 0 up to x0,
// then `rise(x - x0)`.
TerrainGrid Profile(const std::function<double(double)>& rise, double x0, int cells = 300,
                    double step = 2.0) {
  return MakeGrid(cells, step, [=](double x, double) { return x < x0 ? 0.0 : rise(x - x0); });
}

TEST(SlopeFlow, WindwardFacesLiftLeeFacesSinkAndSharpCrestsSeparate) {
  // A 64.4 m cliff (255 grey levels between neighbouring points) and a 19
  // degree slope up to a 30 m plateau, with the wind onto the face (from 270)
  // and off it (from 90): the grid is 600 m wide, the face at x = 400 m.
  constexpr double kX0 = 400.0, kC = 300.0;
  const double cliffH = 255 * kGrey;
  const TerrainGrid cliff = Profile([=](double) { return cliffH; }, kX0);
  const TerrainGrid slope = Profile([](double d) { return std::min(0.35 * d, 30.0); }, kX0);
  std::printf("faces: factor (along, up) at distance d from the face's foot (- = upwind side)\n");

  // Windward: the air rises ahead of and up the face.
  struct Lift {
    const char* name;
    const TerrainGrid* terrain;
    double along, z;  // probe position relative to the foot, z above sea level
    double minAngle;  // degrees
  };
  for (const Lift& c :
       {Lift{"cliff, windward, 0.5H ahead at 0.9H", &cliff, -0.5 * cliffH, 0.9 * cliffH, 25.0},
        Lift{"cliff, windward, 0.25H ahead at 1.2H", &cliff, -0.25 * cliffH, 1.2 * cliffH, 15.0},
        Lift{"slope, windward, mid-slope +10 m", &slope, 15.0 / 0.35, 25.0, 12.0}}) {
    const auto flow = SlopeFlow::Compute(*c.terrain, 270.0);
    const Local f = Probe(*flow, 270.0, kX0, kC, c.along, c.z);
    std::printf("  %-42s %6.2f %6.2f  angle %5.1f\n", c.name, f.along, f.up,
                AngleDeg(f.up, f.along));
    EXPECT_GT(AngleDeg(f.up, f.along), c.minAngle) << c.name;
  }
  // The same faces in the lee (wind from 90, blowing towards -x): no lift over
  // the slope, and behind the cliff's edge the flow separates: near the ground
  // weak or reversed, no updraft.
  {
    const auto flow = SlopeFlow::Compute(slope, 90.0);
    const Local f = Probe(*flow, 90.0, kX0, kC, -15.0 / 0.35, 25.0);
    std::printf("  %-42s %6.2f %6.2f\n", "slope, lee, mid-slope +10 m", f.along, f.up);
    EXPECT_LE(f.up, 0.0);
  }
  const auto lee = SlopeFlow::Compute(cliff, 90.0);
  // The bubble reaches about 4 H downwind; (distance behind, height) in H.
  const double bubble[][2] = {{0.5, 0.03}, {0.5, 0.25}, {1, 0.03}, {1, 0.25},
                              {2, 0.03},   {2, 0.25},   {3, 0.03}};
  for (const auto& [d, z] : bubble) {
    // Downwind of the foot is -x here.
    const Local f = Probe(*lee, 90.0, kX0, kC, d * cliffH, z * cliffH);
    std::printf("  cliff, lee, %.1fH behind, %4.1f m up            %6.2f %6.2f\n", d, z * cliffH,
                f.along, f.up);
    EXPECT_LT(f.along, 0.35) << d << " H behind, " << z << " H up";
    EXPECT_LT(f.up, 0.1) << d << " H behind, " << z << " H up";
  }
  // Well above the bubble the air moves on at about the free stream.
  const Local above = Probe(*lee, 90.0, kX0, kC, 2.0 * cliffH, 2.0 * cliffH);
  EXPECT_GT(above.along, 0.8);
}

TEST(SlopeFlow, FlatAndDegenerateTerrainsGiveFiniteBoundedContinuousFlow) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> level(0, 255);
  std::vector<double> noise(41 * 41);
  for (double& h : noise) h = level(rng) * kGrey;
  struct Case {
    const char* name;
    TerrainGrid terrain;
    bool flat;
  };
  const Case cases[] = {
      {"empty", TerrainGrid(), true},
      {"flat at 0", MakeGrid(50, 4.0, [](double, double) { return 0.0; }), true},
      {"flat at 40 m", MakeGrid(299, 1.0, [](double, double) { return 40.0; }), true},
      {"one cell", TerrainGrid(1, 20.0, {0.0, 64.0, 3.0, 10.0}), false},
      {"spike",
       MakeGrid(60, 1.0,
                [](double x, double y) { return x == 30.0 && y == 30.0 ? 255 * kGrey : 0.0; }),
       false},
      {"full-range cliff",
       MakeGrid(80, 1.0, [](double x, double) { return x < 40.0 ? 0.0 : 255 * kGrey; }), false},
      {"grey-level noise", TerrainGrid(40, 3.0, noise), false},
      {"huge relief",
       MakeGrid(
           100, 20.0,
           [](double x, double y) { return 3000.0 * std::sin(x * 0.002) * std::cos(y * 0.003); }),
       false},
  };
  for (const Case& c : cases) {
    for (double from : {0.0, 30.0, 225.0, 313.7}) {
      const auto flow = SlopeFlow::Compute(c.terrain, from);
      const Dir d = Downwind(from);
      const double extent = c.terrain.Cells() * c.terrain.Step();
      // A straight flight across the whole grid and beyond, low over the
      // terrain and through it, in small steps: finite, bounded, no jolts
      // bigger than the terrain itself makes.
      Vec3 last{};
      double worstJump = 0.0;
      const int steps = 4000;
      for (int k = 0; k <= steps; ++k) {
        const double f = static_cast<double>(k) / steps;
        const double x = -30.0 + f * (extent + 60.0), y = -20.0 + f * (extent + 35.0);
        for (double height : {-3.0, 0.0, 0.7, 6.0, 45.0, 400.0}) {
          const Vec3 v = flow->FactorAt(x, y, height);
          ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) << c.name;
          ASSERT_LE(std::hypot(v.x, v.y, v.z), 3.0 + 1e-3) << c.name;
          if (c.flat) {
            ASSERT_EQ(v.x, d.x) << c.name;
            ASSERT_EQ(v.y, d.y) << c.name;
            ASSERT_EQ(v.z, 0.0) << c.name;
          }
        }
        const Vec3 v = flow->FactorAt(x, y, 6.0);
        if (k > 0)
          worstJump = std::max(worstJump, std::hypot(v.x - last.x, v.y - last.y, v.z - last.z));
        last = v;
      }
      // Outside the grid beyond the fade the free stream holds.
      const Vec3 out = flow->FactorAt(-5.0 * extent - 100.0, 0.5 * extent, 1.0);
      EXPECT_EQ(out.x, d.x);
      EXPECT_EQ(out.z, 0.0);
      if (c.flat) continue;
      EXPECT_LT(worstJump, 0.25) << c.name << " from " << from;
    }
  }
  EXPECT_TRUE(SlopeFlow::Compute(TerrainGrid(), 0.0)->Terrain().Empty());
}

TEST(SlopeFlow, FlightOverHillsFeelsNoJolts) {
  // Smooth hills: the factor changes by no more than a few thousandths per
  // 5 cm flown in any direction, table cell edges, levels and the fade included.
  const TerrainGrid hills = MakeGrid(120, 5.0, [](double x, double y) {
    return 30.0 + 20.0 * std::sin(x * 0.015) * std::cos(y * 0.012) +
           6.0 * std::sin(x * 0.05 + y * 0.04);
  });
  for (double from : {0.0, 30.0, 225.0}) {
    const auto flow = SlopeFlow::Compute(hills, from);
    for (double heading : {10.0, 100.0, 235.0}) {
      const double hx = std::cos(heading * kPi / 180.0), hy = std::sin(heading * kPi / 180.0);
      Vec3 last{};
      double worst = 0.0;
      for (int k = 0; k <= 8000; ++k) {
        const double x = 300.0 + 0.05 * k * hx, y = 300.0 + 0.05 * k * hy;
        const double z = 65.0 + 10.0 * std::sin(k * 0.001);  // above sea level
        const Vec3 v = flow->FactorAt(x, y, std::max(z - hills.HeightAt(x, y), 0.0));
        if (k > 0) worst = std::max(worst, std::hypot(v.x - last.x, v.y - last.y, v.z - last.z));
        last = v;
      }
      EXPECT_LT(worst, 0.01) << "from " << from << " heading " << heading;
    }
  }
}

}  // namespace
}  // namespace veltrane
