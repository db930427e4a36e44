#include "app/task_course.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <utility>
#include <vector>

#include "app/tasks/duration_task.h"
#include "app/tasks/limbo.h"
#include "app/tasks/slope_race.h"
#include "sim/math_u.h"

namespace veltrane {

namespace {

constexpr rm::ColorARGB kRed = rm::PackARGB(255, 230, 40, 30);
constexpr rm::ColorARGB kBlue = rm::PackARGB(255, 30, 80, 220);
constexpr rm::ColorARGB kWhite = rm::PackARGB(255, 245, 245, 245);
constexpr rm::ColorARGB kYellow = rm::PackARGB(255, 250, 210, 20);
constexpr double kPoleHalf = 0.15;
constexpr double kSpotLift = 0.1;  // above the ground, so the rings are not buried
constexpr int kRingSides = 48;

Vec3 Unit(Vec3 a) {
  VecNormalize(a);
  return a;
}

// Faces gathered in world axes, handed to a mesh in one call.
struct Shapes {
  std::vector<rm::Vector> vertices;
  std::vector<std::uint32_t> faces;
  std::vector<rm::ColorARGB> colours;

  std::uint32_t Add(const Vec3& p) {
    vertices.push_back(rm::ToLayer(p));
    return static_cast<std::uint32_t>(vertices.size() - 1);
  }
  // A quad seen from both sides.
  void Quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
            rm::ColorARGB colour) {
    for (const auto& corners : {std::array{a, b, c, d}, std::array{d, c, b, a}}) {
      faces.push_back(4);
      for (std::uint32_t v : corners) {
        faces.push_back(v);
        faces.push_back(0);
      }
      colours.push_back(colour);
    }
  }
  // A square beam of half-width `half` from a to b; `side` is any direction
  // not along it.
  void Beam(const Vec3& a, const Vec3& b, double half, const Vec3& side, rm::ColorARGB colour) {
    const Vec3 along = Unit(b - a);
    const Vec3 u = Unit(Cross(along, side)) * half;
    const Vec3 v = Unit(Cross(along, u)) * half;
    const std::array<Vec3, 4> ring = {u + v, u - v, u * -1.0 - v, v - u};
    std::array<std::uint32_t, 4> lo{}, hi{};
    for (std::size_t i = 0; i < 4; ++i) {
      lo[i] = Add(a + ring[i]);
      hi[i] = Add(b + ring[i]);
    }
    for (std::size_t i = 0; i < 4; ++i)
      Quad(lo[i], lo[(i + 1) % 4], hi[(i + 1) % 4], hi[i], colour);
  }
  // A pole standing on the ground, striped every 2.5 m like a survey pole.
  void Pole(const Vec3& foot, double height, double half, rm::ColorARGB colour) {
    constexpr double kStripe = 2.5;
    for (double z = 0.0; z < height; z += kStripe)
      Beam(foot + Vec3{0.0, 0.0, z}, foot + Vec3{0.0, 0.0, std::min(z + kStripe, height)}, half,
           {1.0, 0.0, 0.0}, static_cast<int>(z / kStripe) % 2 == 0 ? colour : kWhite);
  }
  // A ring on the ground around `centre` from radius r0 to r1 (r0 = 0: a
  // disc), each corner lifted above the ground under it, so bumps do not bury it.
  void Ring(const World& ground, const Vec3& centre, double r0, double r1, rm::ColorARGB colour) {
    for (int s = 0; s < kRingSides; ++s) {
      const double a0 = 2.0 * std::numbers::pi * s / kRingSides;
      const double a1 = 2.0 * std::numbers::pi * (s + 1) / kRingSides;
      const auto at = [&](double r, double a) {
        const double x = centre.x + r * std::cos(a), y = centre.y + r * std::sin(a);
        return Add({x, y, ground.GroundHeightAt(x, y) + kSpotLift});
      };
      Quad(at(r0, a0), at(r1, a0), at(r1, a1), at(r0, a1), colour);
    }
  }

  std::shared_ptr<rm::MeshBuilder> Mesh(rm::Root& root) const {
    auto mesh = root.CreateMeshBuilder();
    const rm::Vector normal{0.0f, 1.0f, 0.0f};
    std::vector<std::uint32_t> data = faces;
    data.push_back(0);
    mesh->AddFaces(vertices, std::span(&normal, 1), data);
    mesh->SetQuality(rm::quality::kSolidLitFlat);
    for (std::size_t i = 0; i < colours.size(); ++i) mesh->SetFaceColor(i, colours[i]);
    return mesh;
  }
};

Vec3 OnGround(const World& ground, const Vec3& p) {
  return {p.x, p.y, ground.GroundHeightAt(p.x, p.y)};
}

Shapes CourseShapes(const tasks::FlyingTask& task, const World& ground) {
  Shapes s;
  switch (task.Kind()) {
    case tasks::TaskKind::SlopeRace: {
      const auto& r = static_cast<const tasks::SlopeRace&>(task);
      for (const auto& [base, colour] : {std::pair{r.BaseA(), kRed}, std::pair{r.BaseB(), kBlue}})
        for (double d = 0.0; d <= TaskCourse::kBaseLineLength; d += TaskCourse::kBasePoleStep)
          s.Pole(OnGround(ground, base + r.Facing() * d), TaskCourse::kBasePoleHeight, kPoleHalf,
                 colour);
      break;
    }
    case tasks::TaskKind::Duration: {
      const auto& d = static_cast<const tasks::DurationTask&>(task);
      s.Ring(ground, d.Spot(), 0.0, 1.0, kRed);  // the full hundred points
      for (double r : {5.0, 10.0, 15.0}) s.Ring(ground, d.Spot(), r - 0.4, r, kWhite);
      break;
    }
    case tasks::TaskKind::Limbo: {
      const auto& l = static_cast<const tasks::Limbo&>(task);
      for (int i = 0; i < 2; ++i)
        s.Pole(l.PoleFoot(i), tasks::Limbo::kPoleHeight, tasks::Limbo::kPoleWidth, kRed);
      break;
    }
  }
  return s;
}

}  // namespace

TaskCourse::TaskCourse(rm::Root& root, const std::shared_ptr<rm::Frame>& parent,
                       const tasks::FlyingTask& task, const World& ground)
    : root_(root), parent_(parent), frame_(root.CreateFrame(parent)) {
  fixed_ = CourseShapes(task, ground).Mesh(root_);
  frame_->AddVisual(fixed_);
  Update(task);
}

TaskCourse::~TaskCourse() { parent_->DeleteChild(frame_); }

void TaskCourse::Update(const tasks::FlyingTask& task) {
  if (task.Kind() != tasks::TaskKind::Limbo) return;
  const auto& l = static_cast<const tasks::Limbo&>(task);
  if (l.TapeHeight() == tapeHeight_) return;
  tapeHeight_ = l.TapeHeight();
  if (tape_) frame_->DeleteVisual(tape_);
  Shapes s;
  const double z = l.Middle().z + tapeHeight_;
  const Vec3 a{l.PoleFoot(0).x, l.PoleFoot(0).y, z};
  const Vec3 b{l.PoleFoot(1).x, l.PoleFoot(1).y, z};
  s.Beam(a, b, tasks::Limbo::kTapeWidth, {0.0, 0.0, 1.0}, kYellow);
  tape_ = s.Mesh(root_);
  frame_->AddVisual(tape_);
}

}  // namespace veltrane
