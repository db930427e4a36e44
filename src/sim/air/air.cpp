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
constexpr double kReferenceLog = 5.809142990314028;  // ln(kReferenceHeight / kRoughness)

// Turning the direction the wind comes from clockwise (seen from above) turns the
// air's velocity clockwise as well; c and s are the cosine and sine of the turn.
Vec3 RotateHorizontal(const Vec3& v, double c, double s) {
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
  if (newDirection && !settings_.Still())
    flow_ = SlopeFlow::Compute(*terrain_, settings_.fromDegrees);
  if (newSeed) {
    gusts_.Reset(settings_.turbulenceSeed);
    turbulence_.Reset(settings_.turbulenceSeed);
  }
  Resample();
}

void AirModel::SetTerrain(std::shared_ptr<const TerrainGrid> terrain) {
  terrain_ = terrain ? std::move(terrain) : std::make_shared<TerrainGrid>();
  flow_.reset();
  if (!settings_.Still()) flow_ = SlopeFlow::Compute(*terrain_, settings_.fromDegrees);
}

void AirModel::SetUniform(const Vec3& velocity) {
  uniform_ = true;
  uniformVelocity_ = velocity;
  settings_.speed =
      std::min(std::hypot(velocity.x, velocity.y, velocity.z), WindSettings::kMaxSpeed);
  if (settings_.speed > 0.0 && (velocity.x != 0.0 || velocity.y != 0.0)) {
    double from = std::atan2(-velocity.x, -velocity.y) / kDegToRad;
    settings_.fromDegrees = from < 0.0 ? from + 360.0 : from;
  }
}

Vec3 AirModel::IntoWind() const {
  const double a = settings_.fromDegrees * kDegToRad;
  return {std::sin(a), std::cos(a), 0.0};
}

double AirModel::ProfileSpeed(double height) const {
  if (settings_.Still()) return 0.0;
  const double h = std::clamp(height, kLowestHeight, kTopHeight);
  return settings_.speed * std::log(h / kRoughness) / kReferenceLog;
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
  const std::array<double, 4> g = gustBlend_.Now();
  const Vec3 turned = RotateHorizontal(steady, g[2], g[3]);
  return {turned.x * g[0], turned.y * g[0], turned.z * g[0]};
}

template <std::size_t N>
void AirModel::Blend<N>::Restart(const std::array<double, N>& now) {
  previous = latest = now;
  since = 0.0;
  interval = 1.0;
}

template <std::size_t N>
bool AirModel::Blend<N>::Due(double dt, double period) {
  since += dt;
  return since >= period;
}

template <std::size_t N>
void AirModel::Blend<N>::Push(const std::array<double, N>& next) {
  previous = latest;
  latest = next;
  interval = since;
  since = 0.0;
}

template <std::size_t N>
std::array<double, N> AirModel::Blend<N>::Now() const {
  const double f = std::min(since / interval, 1.0);
  std::array<double, N> out;
  for (std::size_t i = 0; i < N; ++i) out[i] = previous[i] + (latest[i] - previous[i]) * f;
  return out;
}

void AirModel::Advance(double dt, const Vec3& p, const Vec3& groundVelocity, double span) {
  if (settings_.Still()) return;
  if (settings_.gusts > 0 && gustBlend_.Due(dt, kGustStep)) {
    gusts_.Advance(gustBlend_.since);
    gustBlend_.Push(GustOutput());
  }
  if (settings_.turbulence > 0 && turbulenceBlend_.Due(dt, kTurbulenceStep)) {
    DrydenTurbulence::Conditions c;
    const Vec3 air = AtModel(p);
    c.airspeed =
        std::hypot(groundVelocity.x - air.x, groundVelocity.y - air.y, groundVelocity.z - air.z);
    c.height = p.z - terrain_->HeightAt(p.x, p.y);
    c.windAt6m = ProfileSpeed(6.0);
    c.windFromDegrees = settings_.fromDegrees;
    c.wingSpan = span;
    c.strength = settings_.turbulence / 100.0;
    turbulence_.Advance(turbulenceBlend_.since, c);
    turbulenceBlend_.Push(TurbulenceOutput());
  }
}

std::array<double, 4> AirModel::GustOutput() const {
  if (settings_.Still() || settings_.gusts == 0) return {1.0, 0.0, 1.0, 0.0};
  const double strength = settings_.gusts / 100.0;
  const double direction = gusts_.DirectionOffsetDegrees(strength);
  // The cosine and sine are blended too: between two steps the direction moves by
  // a fraction of a degree, so the blend stays a rotation to about 1e-5.
  return {gusts_.SpeedFactor(strength), direction, std::cos(direction * kDegToRad),
          std::sin(direction * kDegToRad)};
}

std::array<double, 6> AirModel::TurbulenceOutput() const {
  if (settings_.Still() || settings_.turbulence == 0) return {};
  const Vec3 l = turbulence_.Linear(), r = turbulence_.Rates();
  return {l.x, l.y, l.z, r.x, r.y, r.z};
}

void AirModel::Resample() {
  gustBlend_.Restart(GustOutput());
  turbulenceBlend_.Restart(TurbulenceOutput());
}

Vec3 AirModel::AtModel(const Vec3& p) const {
  const Vec3 mean = MeanAt(p);
  if (settings_.turbulence == 0 || settings_.Still()) return mean;
  const std::array<double, 6> t = turbulenceBlend_.Now();
  return {mean.x + t[0], mean.y + t[1], mean.z + t[2]};
}

Vec3 AirModel::TurbulenceRates() const {
  if (settings_.turbulence == 0 || settings_.Still()) return {};
  const std::array<double, 6> t = turbulenceBlend_.Now();
  return {t[3], t[4], t[5]};
}

// The generators and the samples are plain values (the flight state is copied as
// an undo point every sub-step), so their bytes are their whole state.
static_assert(std::is_trivially_copyable_v<Gusts>);
static_assert(std::is_trivially_copyable_v<DrydenTurbulence>);

namespace {
// Bytes of plain values, one after the other.
template <class... T>
std::string Pack(const T&... parts) {
  std::string out;
  (out.append(reinterpret_cast<const char*>(&parts), sizeof(T)), ...);
  return out;
}

template <std::size_t N>
bool Finite(const std::array<double, N>& values) {
  for (double d : values)
    if (!std::isfinite(d)) return false;
  return true;
}
}  // namespace

std::string AirModel::DynamicState() const {
  return Pack(gusts_, turbulence_, gustBlend_, turbulenceBlend_);
}

bool AirModel::SetDynamicState(std::string_view bytes) {
  Gusts gusts;
  DrydenTurbulence turbulence;
  Blend<4> gustBlend;
  Blend<6> turbulenceBlend;
  if (bytes.size() != sizeof gusts + sizeof turbulence + sizeof gustBlend + sizeof turbulenceBlend)
    return false;
  const char* at = bytes.data();
  for (const std::pair<void*, std::size_t>& part :
       {std::pair<void*, std::size_t>{&gusts, sizeof gusts},
        {&turbulence, sizeof turbulence},
        {&gustBlend, sizeof gustBlend},
        {&turbulenceBlend, sizeof turbulenceBlend}}) {
    std::memcpy(part.first, at, part.second);
    at += part.second;
  }
  // A state from a damaged file must not put NaNs or endless values into a flight.
  const auto sane = [](const auto& b) {
    return Finite(b.previous) && Finite(b.latest) && b.since >= 0.0 && b.since < 1e6 &&
           b.interval > 0.0 && b.interval < 1e6;
  };
  if (!sane(gustBlend) || !sane(turbulenceBlend)) return false;
  gusts_ = gusts;
  turbulence_ = turbulence;
  gustBlend_ = gustBlend;
  turbulenceBlend_ = turbulenceBlend;
  return true;
}

}  // namespace veltrane
