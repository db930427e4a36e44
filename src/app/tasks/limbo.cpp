#include "app/tasks/limbo.h"

#include <algorithm>
#include <cmath>

namespace veltrane::tasks {
namespace {

struct Closest {
  double s = 0.0;  // along the first segment
  double distance = 0.0;
};

// Closest points of segments p0-p1 and q0-q1 (clamped parameters).
Closest SegmentDistance(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1) {
  const Vec3 d1 = p1 - p0, d2 = q1 - q0, r = p0 - q0;
  const double a = Dot(d1, d1), e = Dot(d2, d2), f = Dot(d2, r);
  double s = 0.0, t = 0.0;
  if (a <= 1e-12 && e <= 1e-12) {
    // Both are points.
  } else if (a <= 1e-12) {
    t = std::clamp(f / e, 0.0, 1.0);
  } else {
    const double c = Dot(d1, r);
    if (e <= 1e-12) {
      s = std::clamp(-c / a, 0.0, 1.0);
    } else {
      const double b = Dot(d1, d2), denom = a * e - b * b;
      s = denom > 1e-12 ? std::clamp((b * f - c * e) / denom, 0.0, 1.0) : 0.0;
      t = (b * s + f) / e;
      if (t < 0.0) {
        t = 0.0;
        s = std::clamp(-c / a, 0.0, 1.0);
      } else if (t > 1.0) {
        t = 1.0;
        s = std::clamp((b - c) / a, 0.0, 1.0);
      }
    }
  }
  const Vec3 gap = (p0 + d1 * s) - (q0 + d2 * t);
  return {s, std::sqrt(Dot(gap, gap))};
}

// Two triangles of the quad a-b-c-d.
void Quad(std::vector<Limbo::Triangle>& out, const Vec3& a, const Vec3& b, const Vec3& c,
          const Vec3& d) {
  out.push_back({a, b, c});
  out.push_back({a, c, d});
}

}  // namespace

Limbo::Limbo(const TaskPlaces& places, const World& ground) : radius_(places.modelRadius) {
  const double x = places.pilot.x, y = places.pilot.y + kDistance;
  middle_ = {x, y, ground.GroundHeightAt(x, y)};
  for (int i = 0; i < 2; ++i) {
    const double px = x + (i == 0 ? -kGap : kGap) / 2.0;
    feet_[static_cast<std::size_t>(i)] = {px, y, ground.GroundHeightAt(px, y)};
  }
}

std::vector<Limbo::Triangle> Limbo::Obstacles() const {
  std::vector<Triangle> out;
  const double h = kPoleWidth / 2.0, top = middle_.z + kPoleHeight;
  for (const Vec3& f : feet_) {
    // A square post from below its foot (the ground may slope) to the top.
    const double z0 = std::min(f.z, middle_.z) - 1.0;
    const std::array<Vec3, 4> c = {Vec3{f.x - h, f.y - h, 0}, Vec3{f.x + h, f.y - h, 0},
                                   Vec3{f.x + h, f.y + h, 0}, Vec3{f.x - h, f.y + h, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
      const Vec3& a = c[i];
      const Vec3& b = c[(i + 1) % 4];
      Quad(out, {a.x, a.y, z0}, {b.x, b.y, z0}, {b.x, b.y, top}, {a.x, a.y, top});
    }
  }
  const double z = middle_.z + tape_, w = kTapeWidth / 2.0;
  Quad(out, {feet_[0].x, feet_[0].y, z - w}, {feet_[1].x, feet_[1].y, z - w},
       {feet_[1].x, feet_[1].y, z + w}, {feet_[0].x, feet_[0].y, z + w});
  return out;
}

std::optional<double> Limbo::Touch(const Vec3& from, const Vec3& to) const {
  std::optional<double> first;
  auto check = [&](const Vec3& q0, const Vec3& q1, double reach) {
    const Closest c = SegmentDistance(from, to, q0, q1);
    if (c.distance <= reach && (!first || c.s < *first)) first = c.s;
  };
  const double top = middle_.z + kPoleHeight;
  for (const Vec3& f : feet_)
    check({f.x, f.y, std::min(f.z, middle_.z) - 1.0}, {f.x, f.y, top},
          radius_ + kPoleWidth * std::sqrt(0.5));
  const double z = middle_.z + tape_;
  check({feet_[0].x, feet_[0].y, z}, {feet_[1].x, feet_[1].y, z}, radius_ + kTapeWidth / 2.0);
  return first;
}

void Limbo::Advance(const TaskSample& from, const TaskSample& to) {
  if (lowerPending_ && std::fabs(to.position.y - middle_.y) > kClear &&
      std::fabs(from.position.y - middle_.y) > kClear) {
    lowerPending_ = false;
    tape_ -= kStep;
    ObstaclesChanged();
  }
  auto touched = [&](const TaskSample& a) {
    const std::optional<double> f = Touch(a.position, to.position);
    if (f) {
      Emit({Between(a, to, *f).t, EventKind::Touch});
      Finish(passes_);
    }
  };
  std::optional<double> cross = CrossingUp(from.position.y, to.position.y, middle_.y);
  if (!cross) cross = CrossingDown(from.position.y, to.position.y, middle_.y);
  if (!cross) {
    touched(from);
    return;
  }
  // Up to the tape's plane, then the rest of the path after it.
  const TaskSample at = Between(from, to, *cross);
  if (const std::optional<double> f = Touch(from.position, at.position)) {
    Emit({Between(from, at, *f).t, EventKind::Touch});
    Finish(passes_);
    return;
  }
  const bool between = std::fabs(at.position.x - middle_.x) < kGap / 2.0;
  // Rolling under it on the ground is no pass.
  if (between && at.airborne && !lowerPending_ && at.position.z < middle_.z + tape_) {
    ++passes_;
    lowest_ = tape_;
    Emit({at.t, EventKind::Pass, 0, tape_});
    if (tape_ - kStep < kLowest - 1e-9) {
      Finish(passes_);
      return;
    }
    lowerPending_ = true;
  }
  touched(at);
}

void Limbo::Crashed(const TaskSample& at) {
  Emit({at.t, EventKind::Crash});
  Finish(passes_);
}

}  // namespace veltrane::tasks
