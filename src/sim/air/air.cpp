#include "sim/air/air.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

namespace veltrane {

namespace {
constexpr double kDegToRad = 3.141592653589793 / 180.0;
// Log-law boundary layer, u(h) = u10 ln(h / z0) / ln(10 / z0), for neutral air over
// open, short-grass country: roughness length z0 = 0.03 m (Davenport-Wieringa
// class "open"). Below 2 z0 the profile is held at its value there rather than
// going to zero, and above 300 m (the top of a neutral surface layer) it stays
// constant.
constexpr double kRoughness = 0.03;
constexpr double kReferenceHeight = 10.0;
constexpr double kLowestHeight = 2.0 * kRoughness;
constexpr double kTopHeight = 300.0;

Vec3 RotateHorizontal(const Vec3& v, double degrees) {
  // Turning the direction the wind comes from clockwise (seen from above) turns
  // the air's velocity clockwise as well.
  const double a = degrees * kDegToRad;
  const double c = std::cos(a), s = std::sin(a);
  return {v.x * c + v.y * s, v.y * c - v.x * s, v.z};
}
}  // namespace

AirModel::AirModel() : terrain_(std::make_shared<TerrainGrid>()) {}

void AirModel::SetWind(const WindSettings& requested) {
  const WindSettings next = requested.Clamped();
  uniform_ = false;
  const bool newDirection = !flow_ || next.fromDegrees != settings_.fromDegrees;
  const bool newSeed = next.turbulenceSeed != settings_.turbulenceSeed;
  settings_ = next;
  if (newDirection && !settings_.Still()) flow_ = SlopeFlow::Compute(*terrain_, settings_.fromDegrees);
  if (newSeed) RestartGenerators();
}

void AirModel::SetTerrain(std::shared_ptr<const TerrainGrid> terrain) {
  terrain_ = terrain ? std::move(terrain) : std::make_shared<TerrainGrid>();
  flow_.reset();
  if (!settings_.Still()) flow_ = SlopeFlow::Compute(*terrain_, settings_.fromDegrees);
}

void AirModel::RestartGenerators() {
  gusts_.Reset(settings_.turbulenceSeed);
  turbulence_.Reset(settings_.turbulenceSeed);
}

void AirModel::SetUniform(const Vec3& velocity) {
  uniform_ = true;
  uniformVelocity_ = velocity;
  settings_.speed = std::min(std::hypot(velocity.x, velocity.y, velocity.z), WindSettings::kMaxSpeed);
  if (settings_.speed > 0.0 && (velocity.x != 0.0 || velocity.y != 0.0)) {
    double from = std::atan2(-velocity.x, -velocity.y) / kDegToRad;
    settings_.fromDegrees = from < 0.0 ? from + 360.0 : from;
  }
}

Vec3 AirModel::IntoWind() const {
  const double a = settings_.fromDegrees * kDegToRad;
  return {std::sin(a), std::cos(a), 0.0};
}

Vec3 AirModel::ProfileWind(double height) const {
  if (uniform_) return {uniformVelocity_.x, uniformVelocity_.y, 0.0};
  const Vec3 into = IntoWind();
  const double u = ProfileSpeed(height);
  return {-into.x * u, -into.y * u, 0.0};
}

double AirModel::ProfileSpeed(double height) const {
  if (settings_.Still()) return 0.0;
  const double h = std::clamp(height, kLowestHeight, kTopHeight);
  return settings_.speed * std::log(h / kRoughness) / std::log(kReferenceHeight / kRoughness);
}

Vec3 AirModel::SteadyAt(const Vec3& p) const {
  if (settings_.Still()) return {};
  if (uniform_) return uniformVelocity_;
  if (!flow_) return {};  // only before SetWind ran with a wind
  const double height = p.z - terrain_->HeightAt(p.x, p.y);
  const Vec3 f = flow_->FactorAt(p.x, p.y, height);
  const double u = ProfileSpeed(height);
  return {f.x * u, f.y * u, f.z * u};
}

Vec3 AirModel::MeanAt(const Vec3& p) const {
  const Vec3 steady = SteadyAt(p);
  if (settings_.gusts == 0 || settings_.Still()) return steady;
  const double strength = settings_.gusts / 100.0;
  const Vec3 turned = RotateHorizontal(steady, gusts_.DirectionOffsetDegrees(strength));
  const double k = gusts_.SpeedFactor(strength);
  return {turned.x * k, turned.y * k, turned.z * k};
}

void AirModel::Advance(double dt, const Vec3& p, double airspeed, double span) {
  if (settings_.Still()) return;
  if (settings_.gusts > 0) gusts_.Advance(dt);
  if (settings_.turbulence > 0) {
    DrydenTurbulence::Conditions c;
    c.airspeed = airspeed;
    c.height = p.z - terrain_->HeightAt(p.x, p.y);
    c.windAt6m = ProfileSpeed(6.0);
    c.windFromDegrees = settings_.fromDegrees;
    c.wingSpan = span;
    c.strength = settings_.turbulence / 100.0;
    turbulence_.Advance(dt, c);
  }
}

Vec3 AirModel::AtModel(const Vec3& p) const {
  const Vec3 mean = MeanAt(p);
  if (settings_.turbulence == 0 || settings_.Still()) return mean;
  const Vec3 t = turbulence_.Linear();
  return {mean.x + t.x, mean.y + t.y, mean.z + t.z};
}

Vec3 AirModel::TurbulenceRates() const {
  if (settings_.turbulence == 0 || settings_.Still()) return {};
  return turbulence_.Rates();
}

// Both generators are plain values (the flight state is copied as an undo point
// every sub-step), so their bytes are their whole state.
static_assert(std::is_trivially_copyable_v<Gusts>);
static_assert(std::is_trivially_copyable_v<DrydenTurbulence>);

std::string AirModel::DynamicState() const {
  std::string out(sizeof(Gusts) + sizeof(DrydenTurbulence), '\0');
  std::memcpy(out.data(), &gusts_, sizeof(Gusts));
  std::memcpy(out.data() + sizeof(Gusts), &turbulence_, sizeof(DrydenTurbulence));
  return out;
}

bool AirModel::SetDynamicState(std::string_view bytes) {
  if (bytes.size() != sizeof(Gusts) + sizeof(DrydenTurbulence)) return false;
  std::memcpy(&gusts_, bytes.data(), sizeof(Gusts));
  std::memcpy(&turbulence_, bytes.data() + sizeof(Gusts), sizeof(DrydenTurbulence));
  return true;
}

double AirModel::GustSpeedFactor() const {
  return settings_.gusts == 0 ? 1.0 : gusts_.SpeedFactor(settings_.gusts / 100.0);
}

double AirModel::GustDirectionOffset() const {
  return settings_.gusts == 0 ? 0.0 : gusts_.DirectionOffsetDegrees(settings_.gusts / 100.0);
}

}  // namespace veltrane
