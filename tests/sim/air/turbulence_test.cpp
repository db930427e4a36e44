#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <vector>

#include "sim/air/air_random.h"
#include "sim/air/turbulence.h"

namespace veltrane {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kFoot = 0.3048;
using Conditions = DrydenTurbulence::Conditions;
using Cplx = std::complex<double>;

// The low-altitude figures of MIL-HDBK-1797, in metres.
struct Dryden {
  double sigmaU, sigmaW, lengthU, lengthW;
};
Dryden Handbook(const Conditions& c) {
  const double h = std::clamp(c.height / kFoot, 10.0, 1000.0);
  const double k = 0.177 + 0.000823 * h;
  const double sigmaW = 0.1 * c.windAt6m * c.strength;
  return {sigmaW / std::pow(k, 0.4), sigmaW, h / std::pow(k, 1.2) * kFoot, h * kFoot};
}

// The handbook's shaping filters as frequency responses, and the variance of
// their output on white noise of unit one-sided density: the reference for the
// rotational components, independent of how the filters are stepped.
struct HandbookFilters {
  Conditions c;
  Dryden d = Handbook(c);
  double V() const { return c.airspeed; }
  Cplx Vertical(Cplx s) const {
    const double t = d.lengthW / V();
    return d.sigmaW * std::sqrt(d.lengthW / (kPi * V())) * (1.0 + std::sqrt(3.0) * t * s) / ((1.0 + t * s) * (1.0 + t * s));
  }
  Cplx Lateral(Cplx s) const {
    const double t = d.lengthU / V();
    return d.sigmaU * std::sqrt(d.lengthU / (kPi * V())) * (1.0 + std::sqrt(3.0) * t * s) / ((1.0 + t * s) * (1.0 + t * s));
  }
  Cplx Roll(Cplx s) const {
    const double b = c.wingSpan;
    return d.sigmaW * std::sqrt(0.8 / V()) * std::pow(kPi / (4 * b), 1.0 / 6) /
           (std::cbrt(d.lengthW) * (1.0 + 4 * b / (kPi * V()) * s));
  }
  Cplx Pitch(Cplx s) const { return (s / V()) / (1.0 + 4 * c.wingSpan / (kPi * V()) * s) * Vertical(s); }
  Cplx Yaw(Cplx s) const { return (-s / V()) / (1.0 + 3 * c.wingSpan / (kPi * V()) * s) * Lateral(s); }
  template <class H>
  double Sigma(H h) const {
    // w = tan(t) / scale maps t in (0, pi/2) onto every frequency.
    const double scale = 4 * c.wingSpan / (kPi * V());
    const int n = 20000;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
      const double t = (i + 0.5) * (kPi / 2) / n;
      const double w = std::tan(t) / scale;
      sum += std::norm(h(Cplx(0.0, w))) / (scale * std::cos(t) * std::cos(t));
    }
    return std::sqrt(sum * (kPi / 2) / n);
  }
};

struct Record {
  std::vector<double> u, v, w, p, q, r;
};

// u, v, w taken back out of world axes along and 90 degrees left of the
// direction the wind blows to.
Record Fly(std::uint32_t seed, const Conditions& c, double dt, double seconds) {
  const double a = c.windFromDegrees * kPi / 180.0;
  const double ax = -std::sin(a), ay = -std::cos(a);
  DrydenTurbulence t(seed);
  Record out;
  const auto n = static_cast<std::size_t>(std::lround(seconds / dt));
  for (auto* s : {&out.u, &out.v, &out.w, &out.p, &out.q, &out.r}) s->reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    t.Advance(dt, c);
    const Vec3 l = t.Linear(), r = t.Rates();
    out.u.push_back(l.x * ax + l.y * ay);
    out.v.push_back(-l.x * ay + l.y * ax);
    out.w.push_back(l.z);
    out.p.push_back(r.x);
    out.q.push_back(r.y);
    out.r.push_back(r.z);
  }
  return out;
}

using Runs = std::vector<Record>;

// Root mean square over all runs (the mean is zero by construction).
double Sigma(const Runs& runs, std::vector<double> Record::*x) {
  double sum = 0.0, n = 0.0;
  for (const Record& r : runs)
    for (double v : r.*x) sum += v * v, n += 1.0;
  return std::sqrt(sum / n);
}

// Length scale from the autocorrelation pooled over the runs: the distance
// along the path where it first falls to its Dryden value at one length scale,
// e^-1 for u and e^-1 / 2 for v and w (their correlation is
// (1 - x / 2L) e^(-x / L)). Lags on a grid of 1/100 of the expected scale.
double MeasuredLength(const Runs& runs, std::vector<double> Record::*x, double dt, double speed, double expected,
                      double target) {
  const std::size_t step = std::max<std::size_t>(1, static_cast<std::size_t>(expected / speed / dt / 100.0));
  auto correlation = [&](std::size_t lag) {
    double sum = 0.0, norm = 0.0;
    for (const Record& r : runs) {
      const std::vector<double>& s = r.*x;
      for (std::size_t i = 0; i + lag < s.size(); i += step) sum += s[i] * s[i + lag], norm += s[i] * s[i];
    }
    return sum / norm;
  };
  double before = 1.0;
  for (std::size_t j = 1; j <= 400; ++j) {
    const double now = correlation(j * step);
    if (now <= target) return (j - 1 + (before - target) / (before - now)) * step * dt * speed;
    before = now;
  }
  return 1e9;
}

Runs FlyMany(std::uint32_t firstSeed, int count, const Conditions& c, double dt, double seconds) {
  Runs runs;
  for (int i = 0; i < count; ++i) runs.push_back(Fly(firstSeed + i, c, dt, seconds));
  return runs;
}

Conditions Flight(double height) {
  Conditions c;
  c.airspeed = 15.0;
  c.height = height;
  c.windAt6m = 8.0;
  c.windFromDegrees = 30.0;
  c.wingSpan = 1.5;
  c.strength = 1.0;
  return c;
}

// Ten minutes at 5 ms steps, eight independent flights pooled per height: one
// flight alone scatters by more than 20 % on the long length scales. Seed sets
// 1-8, 101-108 and 1001-1008 were all seen to pass with a wide margin.
TEST(DrydenTurbulence, IntensitiesAndLengthScalesMatchTheHandbook) {
  const double dt = 0.005;
  std::cout << "  h(m)  comp  sigma meas / Dryden (m/s)   L meas / Dryden (m)\n" << std::fixed << std::setprecision(3);
  for (double height : {10.0, 30.0}) {
    const Conditions c = Flight(height);
    const Dryden d = Handbook(c);
    const Runs runs = FlyMany(1, 8, c, dt, 600.0);
    struct Row {
      const char* name;
      std::vector<double> Record::*x;
      double sigma, length, target;
    } rows[] = {{"u", &Record::u, d.sigmaU, d.lengthU, std::exp(-1.0)},
                {"v", &Record::v, d.sigmaU, d.lengthU, 0.5 * std::exp(-1.0)},
                {"w", &Record::w, d.sigmaW, d.lengthW, 0.5 * std::exp(-1.0)}};
    for (const Row& row : rows) {
      const double sigma = Sigma(runs, row.x);
      const double length = MeasuredLength(runs, row.x, dt, c.airspeed, row.length, row.target);
      std::cout << std::setw(6) << height << "  " << row.name << "     " << sigma << " / " << row.sigma
                << "              " << std::setw(8) << length << " / " << row.length << "\n";
      EXPECT_NEAR(sigma / row.sigma, 1.0, 0.2) << row.name << " at " << height << " m";
      EXPECT_NEAR(length / row.length, 1.0, 0.2) << row.name << " at " << height << " m";
    }
    // The rotational rates against the variance of the handbook's filters.
    const HandbookFilters f{c};
    const double p = f.Sigma([&](Cplx s) { return f.Roll(s); });
    const double q = f.Sigma([&](Cplx s) { return f.Pitch(s); });
    const double r = f.Sigma([&](Cplx s) { return f.Yaw(s); });
    std::cout << std::setw(6) << height << "  p,q,r (rad/s) " << Sigma(runs, &Record::p) << "/" << p << "  "
              << Sigma(runs, &Record::q) << "/" << q << "  " << Sigma(runs, &Record::r) << "/" << r << "\n";
    EXPECT_NEAR(Sigma(runs, &Record::p) / p, 1.0, 0.25);
    EXPECT_NEAR(Sigma(runs, &Record::q) / q, 1.0, 0.25);
    EXPECT_NEAR(Sigma(runs, &Record::r) / r, 1.0, 0.25);
  }
}

// Exact stepping: the same statistics at 1 ms as at a 100 ms frame. Fast and
// low (3 m, 40 m/s), so that every filter's time constant is short enough for
// short runs and the rates' (50 ms) are shorter than the longest step.
TEST(DrydenTurbulence, StatisticsDoNotDependOnTheStep) {
  Conditions c = Flight(3.0);
  c.airspeed = 40.0;
  const Dryden d = Handbook(c);
  const HandbookFilters f{c};
  const double expected[] = {d.sigmaU,
                             d.sigmaU,
                             d.sigmaW,
                             f.Sigma([&](Cplx s) { return f.Roll(s); }),
                             f.Sigma([&](Cplx s) { return f.Pitch(s); }),
                             f.Sigma([&](Cplx s) { return f.Yaw(s); })};
  std::vector<double> Record::*channels[] = {&Record::u, &Record::v, &Record::w, &Record::p, &Record::q, &Record::r};
  for (double dt : {0.001, 0.01, 0.1}) {
    const Runs runs = FlyMany(11, 3, c, dt, 100.0);
    std::cout << "  dt " << dt << " s, sigma u v w p q r / expected:";
    for (int i = 0; i < 6; ++i) {
      const double ratio = Sigma(runs, channels[i]) / expected[i];
      std::cout << " " << ratio;
      EXPECT_NEAR(ratio, 1.0, 0.12) << "channel " << i << " dt " << dt;
    }
    std::cout << "\n";
  }
}

// Pitch follows the slope of w along the path (nose up when the up-gust grows
// towards the nose), yaw that of v with v to the left: check the signs against
// the linear components' changes.
TEST(DrydenTurbulence, RotationalRatesFollowTheLinearComponents) {
  const Record rec = Fly(5, Flight(30.0), 0.005, 120.0);
  double qw = 0.0, rv = 0.0, qq = 0.0, rr = 0.0, ww = 0.0, vv = 0.0;
  for (std::size_t i = 1; i < rec.w.size(); ++i) {
    const double dw = rec.w[i] - rec.w[i - 1], dv = rec.v[i] - rec.v[i - 1];
    qw += rec.q[i] * dw, rv += rec.r[i] * dv;
    qq += rec.q[i] * rec.q[i], rr += rec.r[i] * rec.r[i], ww += dw * dw, vv += dv * dv;
  }
  EXPECT_GT(qw / std::sqrt(qq * ww), 0.2);
  EXPECT_LT(rv / std::sqrt(rr * vv), -0.2);
}

bool Same(const Vec3& a, const Vec3& b) { return std::memcmp(&a, &b, sizeof(Vec3)) == 0; }

TEST(DrydenTurbulence, SeededAndPlainValue) {
  auto series = [](std::uint32_t seed, bool zeroSteps) {
    DrydenTurbulence t(seed);
    std::vector<Vec3> out;
    Conditions c = Flight(20.0);
    for (int i = 0; i < 2000; ++i) {
      c.airspeed = 5.0 + 0.01 * i;  // changing filters
      c.height = 2.0 + 0.05 * i;
      if (zeroSteps) t.Advance(0.0, c);
      t.Advance(0.005, c);
      out.push_back(t.Linear());
      out.push_back(t.Rates());
    }
    return out;
  };
  const auto a = series(7, false), b = series(7, true), other = series(8, false);
  ASSERT_EQ(a.size(), b.size());
  std::size_t differ = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_TRUE(Same(a[i], b[i])) << i;
    differ += !Same(a[i], other[i]);
  }
  EXPECT_EQ(differ, a.size());

  // A copy (the undo point) continues exactly like the original; a reset starts over.
  const Conditions c = Flight(30.0);
  DrydenTurbulence t(3);
  for (int i = 0; i < 100; ++i) t.Advance(0.005, c);
  DrydenTurbulence copy = t;
  for (int i = 0; i < 100; ++i) t.Advance(0.005, c), copy.Advance(0.005, c);
  EXPECT_TRUE(Same(t.Linear(), copy.Linear()));
  EXPECT_TRUE(Same(t.Rates(), copy.Rates()));
  DrydenTurbulence fresh(3);
  t.Reset(3);
  fresh.Advance(0.005, c), t.Advance(0.005, c);
  EXPECT_TRUE(Same(t.Linear(), fresh.Linear()));
}

TEST(DrydenTurbulence, CalmGivesExactZero) {
  struct Case {
    double strength, wind, height, airspeed;
  } cases[] = {{0.0, 8.0, 30.0, 15.0}, {1.0, 0.0, 30.0, 15.0}, {0.0, 0.0, 0.0, 0.0}, {0.0, 20.0, -5.0, 0.0}};
  for (const Case& k : cases) {
    Conditions c = Flight(k.height);
    c.strength = k.strength, c.windAt6m = k.wind, c.airspeed = k.airspeed;
    DrydenTurbulence t(9);
    for (int i = 0; i < 200; ++i) {
      t.Advance(0.005, c);
      EXPECT_TRUE(Same(t.Linear(), Vec3{}) && Same(t.Rates(), Vec3{}));
    }
  }
  // Hovering in still relative air, on the ground: finite and alive.
  Conditions c = Flight(0.0);
  c.airspeed = 0.0, c.windAt6m = 0.5, c.wingSpan = 0.0;
  DrydenTurbulence t(9);
  for (int i = 0; i < 200; ++i) t.Advance(0.005, c);
  const Vec3 l = t.Linear(), r = t.Rates();
  for (double x : {l.x, l.y, l.z, r.x, r.y, r.z}) EXPECT_TRUE(std::isfinite(x) && x != 0.0);
}

// The deviates are built without the C library's transcendental functions, so
// these bits hold on every platform; and they are unit normal.
TEST(AirRandom, ReproducibleUnitNormal) {
  AirRandom g(1, 0);
  const double first[] = {0x1.ff38618f51e98p-1, 0x1.515f3ba411313p+0, -0x1.24694ab6307b9p+0, 0x1.9532d46c5be73p+0};
  for (double x : first) EXPECT_EQ(g.Normal(), x);
  AirRandom r(42, 0);
  double m1 = 0, m2 = 0, m4 = 0;
  const int n = 1000000;
  for (int i = 0; i < n; ++i) {
    const double x = r.Normal();
    m1 += x, m2 += x * x, m4 += x * x * x * x;
  }
  m1 /= n, m2 /= n, m4 /= n;
  EXPECT_NEAR(m1, 0.0, 0.005);
  EXPECT_NEAR(m2, 1.0, 0.01);
  EXPECT_NEAR(m4, 3.0, 0.05);
}

}  // namespace
}  // namespace veltrane
