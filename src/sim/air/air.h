#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "base/math/vec3.h"
#include "sim/air/gusts.h"
#include "sim/air/slope_flow.h"
#include "sim/air/terrain_grid.h"
#include "sim/air/turbulence.h"
#include "sim/air/wind_settings.h"

namespace veltrane {

// The air the flight models fly in: the wind over the terrain with its boundary
// layer and slope flow, gusts and turbulence. Answers the air's velocity at a
// world point. In still air (wind speed 0) every answer is exactly (0, 0, 0) and
// the flight models keep their still-air arithmetic.
class AirModel {
 public:
  AirModel();

  const WindSettings& Settings() const { return settings_; }
  // New settings; the slope flow is recomputed when the direction changed, the
  // gust and turbulence generators restart from the seed when it changed.
  void SetWind(const WindSettings& settings);
  // A new landscape terrain (an empty grid: flat ground at height 0).
  void SetTerrain(std::shared_ptr<const TerrainGrid> terrain);
  const TerrainGrid& Terrain() const { return *terrain_; }
  bool Still() const { return settings_.Still(); }

  // A constant air velocity everywhere instead of the boundary layer and the slope
  // flow (gusts and turbulence still add to it): for flight tests and tools.
  void SetUniform(const Vec3& velocity);
  // The horizontal unit vector pointing into the wind (where it blows from).
  Vec3 IntoWind() const;

  // Mean wind speed at `height` metres above the terrain over flat ground: the
  // boundary-layer profile scaled to the set speed at 10 m.
  double ProfileSpeed(double height) const;
  // The steady air velocity (no gusts, no turbulence), world axes, m/s.
  Vec3 SteadyAt(const Vec3& p) const;
  // The steady air with the present gusts: what a windsock shows.
  Vec3 MeanAt(const Vec3& p) const;

  // Advances gusts and turbulence by one sub-step for a model at p moving at
  // `groundVelocity`, with the given wing (or rotor) span. Their
  // generators change over tenths of seconds (turbulence) and seconds (gusts),
  // so they are stepped every kTurbulenceStep and kGustStep of flight, and what
  // the model meets in between is blended from their last two steps: smooth,
  // and cheap enough for every sub-step.
  static constexpr double kTurbulenceStep = 0.05;
  static constexpr double kGustStep = 0.2;
  void Advance(double dt, const Vec3& p, const Vec3& groundVelocity, double span);
  // The air at the model: mean air at p plus the present linear turbulence.
  Vec3 AtModel(const Vec3& p) const;
  // The present rotational turbulence (see DrydenTurbulence::Rates).
  Vec3 TurbulenceRates() const;
  // The gusts' and the turbulence's generator and filter state as bytes, so that
  // a recorded flight can be resumed exactly; SetDynamicState refuses bytes of
  // another size.
  std::string DynamicState() const;
  bool SetDynamicState(std::string_view bytes);

 private:
  // The last two outputs of a generator and how far the flight has come since
  // the latest: values in between are blended.
  template <std::size_t N>
  struct Blend {
    std::array<double, N> previous{}, latest{};
    double since = 0.0;
    double interval = 1.0;
    void Restart(const std::array<double, N>& now);
    // True when `period` has passed and a new output is due.
    bool Due(double dt, double period);
    void Push(const std::array<double, N>& next);
    std::array<double, N> Now() const;
  };
  // Speed factor, direction offset (degrees) and its cosine and sine.
  std::array<double, 4> GustOutput() const;
  // Linear gust velocity (world axes) and the rotational rates.
  std::array<double, 6> TurbulenceOutput() const;
  // Both blends from the generators as they stand (new settings, a restart).
  void Resample();

  WindSettings settings_;
  bool uniform_ = false;
  Vec3 uniformVelocity_;
  std::shared_ptr<const TerrainGrid> terrain_;
  std::shared_ptr<const SlopeFlow> flow_;
  Gusts gusts_;
  DrydenTurbulence turbulence_;
  Blend<4> gustBlend_;
  Blend<6> turbulenceBlend_;
};

}  // namespace veltrane
