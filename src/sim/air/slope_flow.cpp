#include "sim/air/slope_flow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "sim/air/profile_flow.h"

namespace veltrane {
namespace {

// The flow is a set of 2-D potential-flow solutions along the wind, one per
// table row across it, over an effective surface rather than the bare terrain:
//  - in the lee of a crest the surface may drop by at most kLeeSlope per metre.
//    Where the terrain falls away more steeply the flow leaves the crest and
//    the envelope stands for the separation bubble (the dividing streamline
//    reattaches about 1 / kLeeSlope crest heights behind a cliff); gentler lee
//    slopes stay attached and see pure potential flow;
//  - in front of a face steeper than kWindwardSlope the foot is filled the same
//    way, where real flow stalls in a standing vortex and where potential flow
//    would put a stagnation corner. It also keeps the map iteration quick.
// Beneath the envelope the air is nearly dead: it turns from the envelope's
// flow at the top to a weak reversed flow at the ground.
constexpr double kLeeSlope = 0.25;
constexpr double kWindwardSlope = 1.0;
constexpr double kReversal = 0.25;  // reversed flow at the bubble floor, per envelope speed

// Table: at most kMaxColumns per horizontal axis, kLevels terrain-following
// levels at heights top * (l / (kLevels - 1))^2, closer near the ground where
// the flow changes fastest; the top level is the free stream. The flow is
// solved on kStreamlines streamlines spaced the same way.
constexpr int kMaxColumns = 160;
constexpr int kLevels = 20;
constexpr int kStreamlines = 26;
// Effects reach a few times the relief; above that the free stream holds.
constexpr double kTopPerRelief = 4.0;
constexpr double kMinTop = 30.0;
// Table cells beyond the grid edge over which the flow fades to the free stream.
constexpr double kFadeColumns = 4.0;
// Near sharp convex corners potential flow is singular; the table holds the
// factor's length below this.
constexpr double kMaxFactor = 3.0;
constexpr double kQuantum = 8192.0;  // int16 steps per unit factor, range +-4

class TableFlow final : public SlopeFlow {
 public:
  TableFlow(const TerrainGrid& terrain, double from) : SlopeFlow(terrain, from) {
    const double a = from * 3.141592653589793 / 180.0;
    dx_ = -std::sin(a);
    dy_ = -std::cos(a);
    Build();
  }

  Vec3 FactorAt(double x, double y, double height) const override {
    const Vec3 free{dx_, dy_, 0.0};
    if (table_.empty() || !std::isfinite(x) || !std::isfinite(y) || !(height < top_)) return free;
    const double ox = std::max({-x, x - extent_, 0.0});
    const double oy = std::max({-y, y - extent_, 0.0});
    const double outside = std::hypot(ox, oy);
    if (outside >= fade_) return free;
    const double inside = 1.0 - outside / fade_;

    const double fs = (x * dx_ + y * dy_ - s0_) / step_;
    const double ft = (x * nx_ + y * ny_ - t0_) / step_;
    const double fl = (kLevels - 1) * std::sqrt(std::max(height, 0.0) / top_);
    const int i = std::clamp(static_cast<int>(fs), 0, ns_ - 2);
    const int j = std::clamp(static_cast<int>(ft), 0, nt_ - 2);
    const int l = std::min(static_cast<int>(fl), kLevels - 2);
    const double a = std::clamp(fs - i, 0.0, 1.0), b = std::clamp(ft - j, 0.0, 1.0), c = fl - l;

    const std::int16_t* p00 = &table_[Index(i, j, l)];
    const std::int16_t* p10 = p00 + 2 * kLevels;
    const std::int16_t* p01 = p00 + 2 * kLevels * ns_;
    const std::int16_t* p11 = p01 + 2 * kLevels;
    double out[2];
    for (int q = 0; q < 2; ++q) {
      auto column = [&](const std::int16_t* p) { return p[q] + (p[q + 2] - p[q]) * c; };
      const double v0 = column(p00) + (column(p10) - column(p00)) * a;
      const double v1 = column(p01) + (column(p11) - column(p01)) * a;
      out[q] = (v0 + (v1 - v0) * b) / kQuantum;
    }
    const double along = 1.0 + (out[0] - 1.0) * inside;
    return {along * dx_, along * dy_, out[1] * inside};
  }

 private:
  std::size_t Index(int i, int j, int l) const {
    return 2 * (static_cast<std::size_t>(kLevels) * (static_cast<std::size_t>(j) * ns_ + i) + l);
  }
  double LevelHeight(int l) const {
    const double f = static_cast<double>(l) / (kLevels - 1);
    return top_ * f * f;
  }

  void Build();
  void Envelope(std::vector<double>& e) const;
  void Store(int j, const std::vector<double>& ground, const std::vector<double>& surface,
             const Streamlines& lines);

  double dx_ = 0.0, dy_ = -1.0, nx_ = 1.0, ny_ = 0.0;
  double extent_ = 0.0, fade_ = 0.0, step_ = 1.0, s0_ = 0.0, t0_ = 0.0, top_ = 0.0;
  int ns_ = 0, nt_ = 0, period_ = 0;
  std::vector<std::int16_t> table_;             // (along, vertical) per level, column, row
  std::vector<double> colAbove_, colU_, colW_;  // Store's scratch: streamlines at the columns
};

void TableFlow::Envelope(std::vector<double>& e) const {
  for (int i = ns_ - 2; i >= 0; --i) e[i] = std::max(e[i], e[i + 1] - kWindwardSlope * step_);
  for (int i = 1; i < ns_; ++i) e[i] = std::max(e[i], e[i - 1] - kLeeSlope * step_);
}

void TableFlow::Build() {
  const TerrainGrid& terrain = Terrain();
  nx_ = -dy_;
  ny_ = dx_;
  if (terrain.Empty()) return;
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (int i = 0; i <= terrain.Cells(); ++i)
    for (int j = 0; j <= terrain.Cells(); ++j) {
      const double h = terrain.PointHeight(i, j);
      if (std::isfinite(h)) lo = std::min(lo, h), hi = std::max(hi, h);
    }
  if (!(hi > lo)) return;  // flat: the free stream everywhere
  extent_ = terrain.Cells() * terrain.Step();
  top_ = std::max(kMinTop, kTopPerRelief * (hi - lo));

  // Columns: the grid's own step unless the rotated box of grid plus fade
  // margin needs more than kMaxColumns; at least 16 across the grid.
  const double spread = std::abs(dx_) + std::abs(dy_);  // box side per grid side
  const double budget = kMaxColumns - 2.0 - 2.0 * kFadeColumns * spread;
  step_ = std::max(extent_ * spread / budget, std::min(terrain.Step(), extent_ * spread / 16.0));
  fade_ = kFadeColumns * step_;
  const double corners[4][2] = {{-fade_, -fade_},
                                {extent_ + fade_, -fade_},
                                {-fade_, extent_ + fade_},
                                {extent_ + fade_, extent_ + fade_}};
  double s1 = -std::numeric_limits<double>::infinity(), t1 = s1;
  s0_ = t0_ = std::numeric_limits<double>::infinity();
  for (const auto& p : corners) {
    const double s = p[0] * dx_ + p[1] * dy_, t = p[0] * nx_ + p[1] * ny_;
    s0_ = std::min(s0_, s), s1 = std::max(s1, s);
    t0_ = std::min(t0_, t), t1 = std::max(t1, t);
  }
  ns_ = std::clamp(static_cast<int>(std::ceil((s1 - s0_) / step_)) + 1, 2, kMaxColumns);
  nt_ = std::clamp(static_cast<int>(std::ceil((t1 - t0_) / step_)) + 1, 2, kMaxColumns);
  // Half as much again flat-ended padding keeps the periodic images apart.
  period_ = 16;
  while (period_ < ns_ + std::max(ns_ / 2, 8)) period_ *= 2;

  std::vector<double> etas(kStreamlines);
  for (int m = 0; m < kStreamlines; ++m) {
    const double f = static_cast<double>(m) / (kStreamlines - 1);
    etas[m] = top_ * f * f;
  }
  ProfileFlowSolver solver(period_, step_, std::move(etas));
  table_.assign(2 * static_cast<std::size_t>(kLevels) * ns_ * nt_, 0);

  std::vector<double> ground[2], surface[2];
  Streamlines lines[2];
  for (int p = 0; p < 2; ++p) {
    ground[p].resize(ns_);
    surface[p].resize(period_);
  }
  for (int j = 0; j < nt_; j += 2) {
    for (int p = 0; p < 2; ++p) {
      const double t = t0_ + std::min(j + p, nt_ - 1) * step_;
      std::vector<double>& e = surface[p];
      for (int i = 0; i < ns_; ++i) {
        const double s = s0_ + i * step_;
        const double h = terrain.HeightAt(s * dx_ + t * nx_, s * dy_ + t * ny_);
        ground[p][i] = std::isfinite(h) ? std::clamp(h, lo, hi) : lo;
        e[i] = ground[p][i];
      }
      Envelope(e);
      // Padding: a smooth return from the downwind edge height to the upwind one.
      const double last = e[ns_ - 1], first = e[0];
      const int pad = period_ - ns_ + 1;
      for (int i = ns_; i < period_; ++i) {
        const double f = static_cast<double>(i - ns_ + 1) / pad;
        e[i] = last + (first - last) * 0.5 * (1.0 - std::cos(3.141592653589793 * f));
      }
    }
    solver.Solve(surface[0].data(), surface[1].data(), lines[0], lines[1]);
    Store(j, ground[0], surface[0], lines[0]);
    if (j + 1 < nt_) Store(j + 1, ground[1], surface[1], lines[1]);
  }
  for (std::vector<double>* v : {&colAbove_, &colU_, &colW_}) {
    v->clear();
    v->shrink_to_fit();
  }
}

void TableFlow::Store(int j, const std::vector<double>& ground, const std::vector<double>& surface,
                      const Streamlines& lines) {
  const int n = lines.samples;
  const double period = n * step_;
  // Streamline m at column i: height above the ground and velocity.
  double above[kStreamlines], u[kStreamlines], w[kStreamlines];
  colAbove_.resize(static_cast<std::size_t>(kStreamlines) * ns_);
  colU_.resize(colAbove_.size());
  colW_.resize(colAbove_.size());
  for (int m = 0; m < kStreamlines; ++m) {
    const double* xs = &lines.x[static_cast<std::size_t>(m) * n];
    const double* zs = &lines.z[static_cast<std::size_t>(m) * n];
    const double* us = &lines.u[static_cast<std::size_t>(m) * n];
    const double* ws = &lines.w[static_cast<std::size_t>(m) * n];
    // Point k of the streamline continued periodically, k in [-n, 2n).
    auto point = [&](long k, double& shift) {
      shift = k < 0 ? -period : k >= n ? period : 0.0;
      return static_cast<std::size_t>(k < 0 ? k + n : k >= n ? k - n : k);
    };
    double shift0 = 0.0, shift1 = 0.0;
    // Walk along the streamline (x grows with xi) to bracket each column.
    long k = 0;
    while (k > -n && xs[point(k, shift0)] + shift0 > 0.0) --k;
    for (int i = 0; i < ns_; ++i) {
      const double x = i * step_;
      while (k + 2 < 2 * n && xs[point(k + 1, shift1)] + shift1 <= x) ++k;
      const std::size_t a = point(k, shift0), b = point(k + 1, shift1);
      const double x0 = xs[a] + shift0, x1 = xs[b] + shift1;
      const double f = x1 > x0 ? std::clamp((x - x0) / (x1 - x0), 0.0, 1.0) : 0.0;
      const std::size_t c = static_cast<std::size_t>(i) * kStreamlines + m;
      colAbove_[c] = zs[a] + (zs[b] - zs[a]) * f - ground[i];
      colU_[c] = us[a] + (us[b] - us[a]) * f;
      colW_[c] = ws[a] + (ws[b] - ws[a]) * f;
    }
  }
  for (int i = 0; i < ns_; ++i) {
    const std::size_t c0 = static_cast<std::size_t>(i) * kStreamlines;
    // The lowest streamline runs on the effective surface; pin it there exactly
    // so attached flow starts at the ground and a bubble only where there is one.
    const double depth = std::max(surface[i] - ground[i], 0.0);
    const double shift = depth - colAbove_[c0];
    for (int m = 0; m < kStreamlines; ++m) {
      above[m] = colAbove_[c0 + m] + shift;
      u[m] = colU_[c0 + m];
      w[m] = colW_[c0 + m];
    }
    int m = 0;
    for (int l = 0; l < kLevels; ++l) {
      const double h = LevelHeight(l);
      double fu = 1.0, fw = 0.0;
      if (l == kLevels - 1) {
        // free stream
      } else if (h < depth) {
        // Bubble: from the envelope's flow at its top to weak reversal at the floor.
        const double z = h / depth;
        fu = u[0] * ((1.0 + kReversal) * z * z - kReversal);
        fw = w[0] * z;
      } else {
        while (m + 1 < kStreamlines && above[m + 1] < h) ++m;
        if (m + 1 < kStreamlines) {
          const double span = above[m + 1] - above[m];
          const double f = span > 0.0 ? std::clamp((h - above[m]) / span, 0.0, 1.0) : 0.0;
          fu = u[m] + (u[m + 1] - u[m]) * f;
          fw = w[m] + (w[m + 1] - w[m]) * f;
        } else if (above[m] < top_) {
          // Above the highest streamline: on to the free stream at the top.
          const double f = std::clamp((h - above[m]) / (top_ - above[m]), 0.0, 1.0);
          fu = u[m] + (1.0 - u[m]) * f;
          fw = w[m] * (1.0 - f);
        }
      }
      if (!std::isfinite(fu) || !std::isfinite(fw)) fu = 1.0, fw = 0.0;
      const double square = fu * fu + fw * fw;
      if (square > kMaxFactor * kMaxFactor) {
        const double scale = kMaxFactor / std::sqrt(square);
        fu *= scale, fw *= scale;
      }
      std::int16_t* out = &table_[Index(i, j, l)];
      out[0] = static_cast<std::int16_t>(std::floor(fu * kQuantum + 0.5));
      out[1] = static_cast<std::int16_t>(std::floor(fw * kQuantum + 0.5));
    }
  }
}

}  // namespace

std::shared_ptr<const SlopeFlow> SlopeFlow::Compute(const TerrainGrid& terrain,
                                                    double fromDegrees) {
  return std::make_shared<TableFlow>(terrain, fromDegrees);
}

}  // namespace veltrane
