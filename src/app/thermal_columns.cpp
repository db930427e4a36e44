#include "app/thermal_columns.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>

namespace veltrane {

namespace {

constexpr int kSides = 12;
constexpr int kBands = 3;            // fading out upwards
constexpr double kWidest = 1.5;      // times the core radius
constexpr double kStrongLift = 3.0;  // m/s drawn at full opacity
constexpr std::uint8_t kFaintest = 8, kDensest = 40;

std::shared_ptr<rm::MeshBuilder> BuildColumn(rm::Root& root, const ColumnLook& look) {
  std::vector<rm::Vector> vertices;
  for (int k = 0; k <= kBands; ++k)
    for (int s = 0; s < kSides; ++s) {
      const double a = 2.0 * std::numbers::pi * s / kSides;
      vertices.push_back({static_cast<float>(look.radius * std::cos(a)),
                          static_cast<float>(ThermalColumns::kHeight * k / kBands),
                          static_cast<float>(look.radius * std::sin(a))});
    }
  std::vector<std::uint32_t> faces;
  std::vector<rm::ColorARGB> colours;
  for (int k = 0; k < kBands; ++k)
    for (int s = 0; s < kSides; ++s) {
      const auto at = [](int ring, int side) {
        return static_cast<std::uint32_t>(ring * kSides + side % kSides);
      };
      const std::uint32_t q[4] = {at(k, s), at(k, s + 1), at(k + 1, s + 1), at(k + 1, s)};
      // Both sides: the far wall shows through the near one.
      for (const bool outside : {true, false}) {
        faces.push_back(4);
        for (int i = 0; i < 4; ++i) {
          faces.push_back(q[outside ? i : 3 - i]);
          faces.push_back(0);
        }
        const auto alpha = static_cast<std::uint8_t>(look.alpha * (kBands - k) / kBands);
        colours.push_back(rm::PackARGB(alpha, 255, 236, 190));
      }
    }
  faces.push_back(0);
  auto mesh = root.CreateMeshBuilder();
  const rm::Vector normal{0.0f, 1.0f, 0.0f};
  mesh->AddFaces(vertices, std::span(&normal, 1), faces);
  mesh->SetQuality(rm::quality::kFillSolid);  // unlit: a glow, the same from every side
  for (std::size_t i = 0; i < colours.size(); ++i) mesh->SetFaceColor(i, colours[i]);
  return mesh;
}

}  // namespace

ColumnLook ColumnLookOf(const Thermal& t) {
  ColumnLook look;
  // Lift at distance d is strength * r^4 / (d^4 + r^4): it beats kUsefulLift
  // inside r * (strength / kUsefulLift - 1)^(1/4).
  if (!(t.strength > ThermalColumns::kUsefulLift) || !(t.radius > 0.0)) return look;
  look.radius = std::min(t.radius * std::pow(t.strength / ThermalColumns::kUsefulLift - 1.0, 0.25),
                         t.radius * kWidest);
  const double f = std::clamp(t.strength / kStrongLift, 0.0, 1.0);
  look.alpha = static_cast<std::uint8_t>(kFaintest + (kDensest - kFaintest) * f);
  return look;
}

ThermalColumns::~ThermalColumns() {
  for (Column& c : columns_) parent_->DeleteChild(c.frame);
}

void ThermalColumns::Show(Column& c, bool shown) {
  if (shown == c.shown) return;
  if (shown)
    c.frame->AddVisual(c.mesh);
  else
    c.frame->DeleteVisual(c.mesh);
  c.shown = shown;
}

void ThermalColumns::Update(const ThermalTable& table, const Vec3& around, const World& ground,
                            bool shown) {
  const int n = shown ? std::clamp(table.iBubbles, 0, kMaxThermals) : 0;
  while (static_cast<int>(columns_.size()) < n) columns_.push_back({root_.CreateFrame(parent_)});
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    Column& c = columns_[i];
    if (static_cast<int>(i) >= n) {
      Show(c, false);
      continue;
    }
    const Thermal& t = table.Thermals[i];
    const ColumnLook look = ColumnLookOf(t);
    const bool near = std::abs(t.x - around.x) < kRange && std::abs(t.y - around.y) < kRange;
    if (look.radius <= 0.0 || !near) {
      Show(c, false);
      continue;
    }
    if (!c.mesh || look.radius != c.look.radius || look.alpha != c.look.alpha) {
      Show(c, false);
      c.mesh = BuildColumn(root_, look);
      c.look = look;
    }
    c.frame->SetPosition(rm::ToLayer(Vec3{t.x, t.y, ground.GroundHeightAt(t.x, t.y)}));
    Show(c, true);
  }
}

int ThermalColumns::Shown() const {
  return static_cast<int>(
      std::count_if(columns_.begin(), columns_.end(), [](const Column& c) { return c.shown; }));
}

}  // namespace veltrane
