#include "app/windsock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <utility>
#include <vector>

#include "sim/math_u.h"

namespace veltrane {

namespace {

constexpr int kSides = 8;
constexpr int kStripes = 5;
constexpr double kPoleRadius = 0.04;
constexpr rm::ColorARGB kRed = rm::PackARGB(255, 220, 40, 30);
constexpr rm::ColorARGB kWhite = rm::PackARGB(255, 240, 240, 240);
constexpr rm::ColorARGB kPoleGrey = rm::PackARGB(255, 150, 150, 150);

struct Tube {
  std::vector<rm::Vector> vertices;
  std::vector<std::uint32_t> faces;
  std::vector<rm::ColorARGB> colours;
};

void AddQuad(Tube& t, std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
             rm::ColorARGB colour) {
  for (const auto& corners : {std::array{a, b, c, d}, std::array{d, c, b, a}}) {
    t.faces.push_back(4);
    for (std::uint32_t v : corners) {
      t.faces.push_back(v);
      t.faces.push_back(0);  // flat shading: the face's own normal
    }
    t.colours.push_back(colour);
  }
}

// A tube of rings + 1 rings of kSides corners, ring(k) giving ring k's radius and
// its place along the axis: local y (the pole) or local z (the sock). Every quad is
// there from both sides: the sock is open, its inside shows.
template <typename Ring, typename Colour>
std::shared_ptr<rm::MeshBuilder> BuildTube(rm::Root& root, int rings, bool alongY, Ring ring,
                                           Colour colour) {
  Tube t;
  for (int k = 0; k <= rings; ++k) {
    const auto [r, z] = ring(k);
    for (int s = 0; s < kSides; ++s) {
      const double a = 2.0 * std::numbers::pi * s / kSides;
      const auto u = static_cast<float>(r * std::cos(a)), v = static_cast<float>(r * std::sin(a));
      t.vertices.push_back(alongY ? rm::Vector{u, static_cast<float>(z), v}
                                  : rm::Vector{u, v, static_cast<float>(z)});
    }
  }
  for (int k = 0; k < rings; ++k)
    for (int s = 0; s < kSides; ++s) {
      const auto at = [](int ringIndex, int side) {
        return static_cast<std::uint32_t>(ringIndex * kSides + side % kSides);
      };
      AddQuad(t, at(k, s), at(k, s + 1), at(k + 1, s + 1), at(k + 1, s), colour(k));
    }
  t.faces.push_back(0);
  auto mesh = root.CreateMeshBuilder();
  const rm::Vector normal{0.0f, 1.0f, 0.0f};
  mesh->AddFaces(t.vertices, std::span(&normal, 1), t.faces);
  mesh->SetQuality(rm::quality::kSolidLitFlat);
  for (std::size_t i = 0; i < t.colours.size(); ++i) mesh->SetFaceColor(i, t.colours[i]);
  return mesh;
}

}  // namespace

Vec3 SockAxis(const Vec3& air, Vec3& heading) {
  const double level = std::hypot(air.x, air.y);
  if (level > 1e-6) heading = {air.x / level, air.y / level, 0.0};
  const double fill = std::clamp(level / Windsock::kFullSpeed, 0.0, 1.0);
  const double droop = (1.0 - fill) * Windsock::kLimpDroop * std::numbers::pi / 180.0;
  return {heading.x * std::cos(droop), heading.y * std::cos(droop), -std::sin(droop)};
}

Windsock::Windsock(rm::Root& root, const std::shared_ptr<rm::Frame>& parent, const Vec3& foot)
    : foot_(foot) {
  pole_ = root.CreateFrame(parent);
  pole_->SetPosition(rm::ToLayer(foot));
  pole_->AddVisual(BuildTube(
      root, 1, true,
      [](int k) {
        return std::pair{kPoleRadius, k * kPoleHeight};
      },
      [](int) { return kPoleGrey; }));
  sock_ = root.CreateFrame(parent);
  sock_->AddVisual(BuildTube(
      root, kStripes, false,
      [](int k) {
        const double f = static_cast<double>(k) / kStripes;
        return std::pair{kMouthRadius + (kTailRadius - kMouthRadius) * f, kLength * f};
      },
      [](int stripe) { return stripe % 2 == 0 ? kRed : kWhite; }));
  Show({});
}

void Windsock::Show(const Vec3& air) {
  const Vec3 axis = SockAxis(air, heading_);
  // The mouth's rim, not its centre, turns about the pole.
  sock_->SetPosition(rm::ToLayer(Top() + heading_ * kMouthRadius));
  // Up is the world's up made square to the axis; the sock never hangs straight down.
  sock_->SetOrientation(rm::ToLayer(axis), {0.0f, 1.0f, 0.0f});
}

}  // namespace veltrane
