// Slope flights on the shipped slope sites in their usual wind, flown by simple
// autopilots through the program's own flight model: a race by the race's rules, and
// top landings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/tasks/course_world.h"
#include "app/tasks/slope_race.h"
#include "app/tasks/task_setup.h"
#include "sim/airplane.h"
#include "sim/functions.h"
#include "sim/lifecycle.h"
#include "tools/veltrane_tool/landscape.h"
#include "tools/veltrane_tool/model_files.h"

namespace veltrane::tool {
namespace {

constexpr double kDt = 0.005;
constexpr int kStepsPerTick = 4;

double Wrap(double a) {
  while (a > std::numbers::pi) a -= 2.0 * std::numbers::pi;
  while (a < -std::numbers::pi) a += 2.0 * std::numbers::pi;
  return a;
}

// Beats along the course in front of the slope, crabbing into the wind, and
// turns out over the slope a few metres beyond each base.
struct RacePilot {
  Vec3 middle;  // the course's middle, at the pilot
  Vec3 facing;  // into the wind
  Vec3 towardsB;
  double liftOut;  // where the beat runs: metres in front of the pilot
  double overshoot = 3.0;
  double bank = 0.8;
  double turnHalfWidth = tasks::SlopeRace::kBaseDistance / 2.0;
  double trim = 0.0;  // elevator held on the straights

  void Fly(SimState& s) const {
    const Vec3& f = s.AxisForward;
    const Vec3 d{s.ModelPosition.x - middle.x, s.ModelPosition.y - middle.y, 0.0};
    const double along = d.x * towardsB.x + d.y * towardsB.y, out = d.x * facing.x + d.y * facing.y;
    const double headingAlong = f.x * towardsB.x + f.y * towardsB.y;
    const bool goingB = headingAlong >= 0.0;
    const double turnAt = turnHalfWidth + overshoot;
    const bool turn = (goingB && along > turnAt) || (!goingB && along < -turnAt);
    // Wanted heading in the course's frame: along the course, and out into the
    // wind the more the model has drifted back towards the slope.
    const double a = turn ? -std::copysign(0.2, headingAlong) : (goingB ? 1.0 : -1.0);
    const double o = turn ? 1.0 : std::clamp((liftOut - out) / 25.0 + 1.3, 0.3, 3.0);
    const Vec3 want{a * towardsB.x + o * facing.x, a * towardsB.y + o * facing.y, 0.0};
    const double error = Wrap(std::atan2(want.y, want.x) - std::atan2(f.y, f.x));
    const double bankLeft = std::asin(std::clamp(s.AxisRight.z, -1.0, 1.0));
    const double wanted = std::clamp(1.2 * error, -bank, bank);
    s.FunctionValue[fn::kAileron] = std::clamp(3.0 * (wanted - bankLeft), -1.0, 1.0);
    s.FunctionValue[fn::kElevator] =
        trim - 0.25 * std::fabs(bankLeft);  // a little up elevator in the turns
  }
};

struct Race {
  tasks::TaskState state;
  std::optional<double> start, score;
  std::vector<double> legs;
  double lowest = 1e9;  // above the ground, after the throw
};

// The site in its usual wind, the race laid out on it and the model thrown from the
// pilot's place; `fly` then flies it with the race's pilot.
template <class FlyFn>
void ThrownFromThePilot(const std::string& site, const std::string& model, FlyFn&& fly) {
  SimState s;
  Landscape land = LoadLandscape(site, s, Trace());
  LoadModel(s, model, Trace());
  ApplyScenePlaces(s, *land.world, land.pilotX, land.pilotY, land.startX, land.startY);
  WindSettings wind;
  if (land.wind) {
    wind.speed = land.wind->speed;
    wind.fromDegrees = land.wind->fromDegrees;
  }
  s.Air.SetWind(wind);
  tasks::CourseWorld world(*land.world);
  const tasks::TaskPlaces places = tasks::PlacesFromState(s);
  tasks::SlopeRace race(places);
  InitFlight(s, world, Trace());
  Handstart(s, Trace());
  s.TimeStep = kDt;
  race.Launch(0.0, s.ModelPosition);
  const Vec3 f = race.Facing();
  fly(s, world, race, RacePilot{places.courseMiddle, f, {f.y, -f.x, 0.0}, 0.0});
}

double Agl(const SimState& s, const tasks::CourseWorld& world) {
  return s.ModelPosition.z - world.GroundHeightAt(s.ModelPosition.x, s.ModelPosition.y);
}

Race FlyRace(const std::string& site, const std::string& model, double liftOut) {
  Race r;
  ThrownFromThePilot(
      site, model,
      [&](SimState& s, const tasks::CourseWorld& world, tasks::SlopeRace& race, RacePilot pilot) {
        pilot.liftOut = liftOut;
        for (int i = 1; i <= 400 * 200 && race.State() == tasks::TaskState::Running; ++i) {
          pilot.Fly(s);
          MoveAirplane(s, world);
          if (i % kStepsPerTick != 0) continue;
          race.Update(tasks::SampleFromState(s, i * kDt));
          if (i * kDt > 2.0) r.lowest = std::min(r.lowest, Agl(s, world));
        }
        r.state = race.State();
        r.start = race.StartTime();
        r.score = race.Score();
        r.legs = race.LegTimes();
      });
  return r;
}

// The slope racer flies faster than any wind it is made for, so neutral sticks take it
// out of the lift; its pilot beats to and fro along the slope in front of him instead.
struct Beat {
  double aloft = 0.0;     // seconds until it touched the ground, or the whole flight
  double lowest = 1e9;    // above the ground, after the throw
  double highest = -1e9;  // above the pilot
};

Beat BeatAlongTheSlope(const std::string& site, const std::string& model, double liftOut,
                       double bank, double trim, double seconds) {
  Beat b;
  b.aloft = seconds;
  ThrownFromThePilot(
      site, model,
      [&](SimState& s, const tasks::CourseWorld& world, tasks::SlopeRace&, RacePilot pilot) {
        pilot.liftOut = liftOut;
        pilot.bank = bank;
        pilot.trim = trim;
        const int steps = static_cast<int>(seconds / kDt);
        for (int i = 1; i <= steps; ++i) {
          pilot.Fly(s);
          MoveAirplane(s, world);
          if (i * kDt <= 2.0) continue;
          b.lowest = std::min(b.lowest, Agl(s, world));
          b.highest = std::max(b.highest, s.ModelPosition.z - s.PilotPosition.z);
          if (Agl(s, world) < 0.5 || s.Crashed) {
            b.aloft = i * kDt;
            break;
          }
        }
      });
  return b;
}

// Trimmed a little slow, near its least sink, and banked gently in the turns, it
// climbs well above the pilot on every site; at its neutral 15.6 m/s with the race's
// steep turns it sinks faster than the lift carries it and is down within two to three
// minutes.
TEST(SlopeRaceFlight, RacerBeatsAlongEachSlopeFiveMinutes) {
  for (const char* site : {"ridge", "cliffs", "hill"}) {
    const std::string file = std::string(VELTRANE_DATA_DIR) + "/Landscape/" + site + ".scn";
    const Beat b = BeatAlongTheSlope(
        file, std::string(VELTRANE_DATA_DIR) + "/Model/slope-racer.par", 25.0, 0.6, -0.1, 300.0);
    EXPECT_GE(b.aloft, 300.0) << site << ": lowest " << b.lowest << " m";
    EXPECT_GT(b.lowest, 1.0) << site;
    EXPECT_GT(b.highest, 30.0) << site << ": it soared above the pilot";
  }
}

TEST(SlopeRaceFlight, TenLegsOnTheSlopeSitesInTheirUsualWind) {
  struct Case {
    const char* site;
    double liftOut;
  };
  // The hill's usual wind, across a lower slope, does not hold a racer up.
  for (const Case& c : {Case{"ridge", 25.0}, Case{"cliffs", 25.0}}) {
    const std::string site = std::string(VELTRANE_DATA_DIR) + "/Landscape/" + c.site + ".scn";
    if (!std::filesystem::exists(site)) GTEST_SKIP() << site << " is not shipped";
    const Race r =
        FlyRace(site, std::string(VELTRANE_DATA_DIR) + "/Model/slope-racer.par", c.liftOut);
    std::ostringstream note;
    note << c.site << ": start " << r.start.value_or(-1) << " s, time " << r.score.value_or(-1)
         << " s, legs";
    for (double l : r.legs) note << ' ' << l;
    note << ", lowest " << r.lowest << " m above the ground";
    RecordProperty(c.site, note.str());
    EXPECT_EQ(r.state, tasks::TaskState::Finished) << note.str();
    EXPECT_GT(r.lowest, 1.0) << note.str();  // never down on the ground
  }
}

// A top landing as a slope pilot flies it: soar in the lift band a while, come down
// to a few metres over the crest, turn back over the crest and across the landing area,
// turn into the wind early enough that the turn's drift does not carry it into the lee
// behind, crab off the height left over the area, and flare into the wind.
struct LandingPilot {
  enum class Phase { Soar, Descend, Downwind, Final, Down };
  RacePilot beat;
  Vec3 centre;      // of the landing area
  double depth;     // along the wind
  double width;     // across it
  double stall;     // m/s
  bool rudderOnly;  // no ailerons: the rudder banks it
  double soarFor = 40.0;
  double pattern = 12.0;  // height over the crest from which it turns back over it
  Phase phase = Phase::Soar;
  int goArounds = 0;
  double sink = 1.0;   // on the final, smoothed over the phugoid's swings
  double weave = 1.0;  // towards which side of the area it crabs
  double shift = 0.0;  // how far behind the area it goes down
  bool fromSide = false;

  // Bank towards a wanted heading (horizontal vector), at most `bank`.
  void Steer(SimState& s, const Vec3& want, double bank) const {
    const Vec3& f = s.AxisForward;
    const double error = Wrap(std::atan2(want.y, want.x) - std::atan2(f.y, f.x));
    const double bankLeft = std::asin(std::clamp(s.AxisRight.z, -1.0, 1.0));
    const double wanted = std::clamp(1.2 * error, -bank, bank);
    const double stick = std::clamp(3.0 * (wanted - bankLeft), -1.0, 1.0);
    s.FunctionValue[rudderOnly ? fn::kRudder : fn::kAileron] = stick;
  }
  // Elevator that holds an airspeed, a little up elevator in the turns. Pushing as the
  // nose rises damps the swings of speed and height that speed alone would set off.
  double held = 0.0;  // the elevator the speed has settled on
  void HoldSpeed(SimState& s, double speed) {
    const double bankLeft = std::asin(std::clamp(s.AxisRight.z, -1.0, 1.0));
    const double pitch = std::asin(std::clamp(s.AxisForward.z, -1.0, 1.0));
    const double error = speed - s.Airspeed;
    held = std::clamp(held + 0.03 * error * kDt, -0.8, 0.5);
    s.FunctionValue[fn::kElevator] = std::clamp(
        held + 0.05 * error + kPitchGain * pitch - 0.25 * std::fabs(bankLeft), -0.8, 0.8);
  }
  static constexpr double kPitchGain = 1.5;
  static constexpr double kTurnBank = 0.7;

  void Fly(SimState& s, const tasks::CourseWorld& world, double t) {
    const Vec3& f = beat.facing;
    const Vec3 side = beat.towardsB;
    const Vec3 d{s.ModelPosition.x - centre.x, s.ModelPosition.y - centre.y, 0.0};
    const double along = d.x * f.x + d.y * f.y, across = d.x * side.x + d.y * side.y;
    const double aboveCrest = s.ModelPosition.z - s.PilotPosition.z;
    const double agl = Agl(s, world);
    // Back towards the area's centre line, along the wind or against it.
    const double back = std::clamp(-across / 25.0, -1.5, 1.5);
    const double aim = -depth / 3.0;  // where it glides to: it floats and rolls on from there
    switch (phase) {
      case Phase::Soar:
        beat.Fly(s);
        HoldSpeed(s, std::max(1.35 * stall, 7.0));
        // High enough to show it soars, and no higher: without airbrakes a clean glider
        // climbs even at twice its stall speed far out in front.
        if (t > soarFor || aboveCrest > 1.5 * pattern) {
          phase = aboveCrest > 3.0 * pattern ? Phase::Descend : Phase::Downwind;
          // A turn round at the speed it crosses the lift would sweep it past the
          // area into the lee: it comes in from the side instead, drifting back.
          const Vec3 air = s.Air.MeanAt(s.ModelPosition);
          const double v = 2.0 * stall, wind = -(air.x * f.x + air.y * f.y);
          const double radius = v * v / (9.81 * std::tan(kTurnBank));
          fromSide = radius + wind * std::numbers::pi * radius / v / 2.0 > depth;
        }
        break;
      case Phase::Descend:
        // Fast and straight out beyond the lift, until low enough to come back over
        // the crest: the lift on the way back carries it up again.
        Steer(s, {f.x + back * side.x, f.y + back * side.y, 0.0}, 0.5);
        {
          // Nose well down, less so once fast.
          const double pitch = std::asin(std::clamp(s.AxisForward.z, -1.0, 1.0));
          const double dive = s.Airspeed > 3.0 * stall ? -0.1 : -0.35;
          s.FunctionValue[fn::kElevator] = std::clamp(2.0 * (pitch - dive), -0.8, 0.8);
        }
        if (aboveCrest < pattern) {
          held = 0.0;
          phase = Phase::Downwind;
        }
        break;
      case Phase::Downwind: {
        if (fromSide) {
          Steer(s, {weave * side.x, weave * side.y, 0.0}, 0.6);
          HoldSpeed(s, 1.3 * stall);
          if (along < depth / 2.0) phase = Phase::Final;
          break;
        }
        Steer(s, {-f.x + back * side.x, -f.y + back * side.y, 0.0}, 0.6);
        // Fast through the lift in front, slow once over the area.
        HoldSpeed(s,
                  along > depth / 2.0 + 20.0 && aboveCrest > pattern ? 2.0 * stall : 1.3 * stall);
        // Turn round into the wind where the turn's drift carries it back to the aim
        // point on the area's downwind half; the final crabs off any height left.
        const Vec3 air = s.Air.MeanAt(s.ModelPosition);
        const double wind = -(air.x * f.x + air.y * f.y), v = s.Airspeed;
        const double drift = wind * std::numbers::pi * v / (9.81 * std::tan(kTurnBank));
        if (along < drift + aim || agl < 5.0) phase = Phase::Final;
        break;
      }
      case Phase::Final: {
        // Crab across the wind as far as it takes to glide down onto the aim point:
        // straight into the wind when short, across it when high, weaving from side to
        // side over the area; into the wind again for the flare.
        const Vec3& v = s.ModelVelocity;
        sink += (std::max(-v.z, 0.1) - sink) * kDt / 3.0;
        const Vec3 air = s.Air.MeanAt(s.ModelPosition);
        const double wind = -(air.x * f.x + air.y * f.y);
        const double height =
            std::min(agl, s.ModelPosition.z - world.GroundHeightAt(centre.x, centre.y));
        // Held up by the lift over the area: drift back to where the air no longer
        // rises, and come in from there once low.
        if (sink < 0.15 && height > 10.0) shift = 80.0;
        if (height < 6.0) shift = 0.0;
        const double need = shift > 0.0 ? -3.0 : (aim - along) * sink / std::max(height, 0.5);
        const double a = agl < 2.0 || along < aim - shift
                             ? 0.0
                             : std::acos(std::clamp((need + wind) / s.Airspeed, 0.0, 1.0));
        // Turn back to the other side before the roll-in lag carries it off the area.
        const double drift = v.x * side.x + v.y * side.y;
        if (weave * drift > 0.0 && weave * (across + s.Airspeed / 4.0 * drift) > width / 2.0 - 5.0)
          weave = -weave;
        const double sideways = std::sin(a) * weave + back * std::cos(a);
        Steer(s,
              {std::cos(a) * f.x + sideways * side.x, std::cos(a) * f.y + sideways * side.y, 0.0},
              kTurnBank);
        // Slower when it would touch down beyond the middle, faster when short.
        const double ground = v.x * f.x + v.y * f.y;
        const double touchdown = along + ground * agl / sink;
        double speed = std::clamp(1.4 * stall - 0.05 * touchdown, 1.1 * stall, 2.2 * stall);
        if (agl < 1.5) speed = 1.1 * stall;  // flare
        HoldSpeed(s, speed);
        if (!s.Airborne) phase = Phase::Down;
        // Carried past the area high up: round again.
        if (along > depth / 2.0 + 10.0 && agl > 4.0 && goArounds < 3) {
          ++goArounds;
          phase = Phase::Downwind;
        }
        break;
      }
      case Phase::Down:
        s.FunctionValue[fn::kAileron] = s.FunctionValue[fn::kRudder] = 0.0;
        s.FunctionValue[fn::kElevator] = 0.0;
        break;
    }
  }
};

struct TopLanding {
  bool crashed = false, landed = false;
  double soared = -1e9;  // highest above the pilot
  double x = 0.0, y = 0.0, speed = 0.0;
  double touchdown = -1.0;  // ground speed as it touched down
  int goArounds = 0;
};

struct Area {
  double x0, y0, x1, y1;  // flight coordinates
  bool Contains(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

TopLanding LandOnTop(const std::string& site, const std::string& model, const Area& area,
                     double seconds) {
  TopLanding r;
  ThrownFromThePilot(
      site, model,
      [&](SimState& s, const tasks::CourseWorld& world, tasks::SlopeRace&, RacePilot beat) {
        const AirplaneParams& p = s.Airplane;
        beat.liftOut = 25.0;
        beat.bank = 0.6;
        beat.turnHalfWidth = 80.0;
        const Vec3 f = beat.facing;
        LandingPilot pilot{beat,
                           {(area.x0 + area.x1) / 2.0, (area.y0 + area.y1) / 2.0, 0.0},
                           std::fabs((area.x1 - area.x0) * f.x + (area.y1 - area.y0) * f.y),
                           std::fabs((area.x1 - area.x0) * f.y + (area.y1 - area.y0) * f.x),
                           std::sqrt(p.Mass * 9.81 / (0.6125 * p.WingArea * p.MaxLift)),
                           p.AileronGain == 0.0};
        const int steps = static_cast<int>(seconds / kDt);
        double still = 0.0;
        for (int i = 1; i <= steps && !s.Crashed; ++i) {
          pilot.Fly(s, world, i * kDt);
          MoveAirplane(s, world);
          r.soared = std::max(r.soared, s.ModelPosition.z - s.PilotPosition.z);
          const double ground = std::hypot(s.ModelVelocity.x, s.ModelVelocity.y);
          if (pilot.phase == LandingPilot::Phase::Down && r.touchdown < 0.0) r.touchdown = ground;
          if (pilot.phase == LandingPilot::Phase::Down && ground < 0.2) still += kDt;
          if (still > 2.0) break;
        }
        r.crashed = s.Crashed;
        r.landed = pilot.phase == LandingPilot::Phase::Down;
        r.x = s.ModelPosition.x;
        r.y = s.ModelPosition.y;
        r.speed = std::hypot(s.ModelVelocity.x, s.ModelVelocity.y);
        r.goArounds = pilot.goArounds;
      });
  return r;
}

// Every glider, thrown from the pilot's place in the site's usual wind, soars, then is
// flown back over the crest and lands on the landing area on top.
TEST(SlopeLanding, EveryGliderLandsOnTheTopLandingArea) {
  const std::map<std::string, Area> tops = {
      {"ridge", {740, 670, 860, 760}},
      {"cliffs", {740, 840, 860, 910}},
      {"hill", {770, 755, 830, 845}},  // the flat summit, round its 50 x 70 m mown patch
  };
  const std::string dir = VELTRANE_DATA_DIR;
  for (const auto& [site, top] : tops) {
    for (const char* model : {"glider", "rudder-glider", "sailplane", "motor-glider", "hlg",
                              "throw-glider", "slope-wing", "slope-racer"}) {
      const TopLanding r = LandOnTop(dir + "/Landscape/" + site + ".scn",
                                     dir + "/Model/" + model + ".par", top, 300.0);
      std::ostringstream note;
      note << model << " on the " << site << ": " << (r.crashed ? "crashed, " : "")
           << (r.landed ? "down" : "still flying") << " at (" << r.x << ", " << r.y
           << "), touching down at " << r.touchdown << " m/s, " << r.speed << " m/s at the end, "
           << r.goArounds << " go-arounds, soared to " << r.soared << " m above the pilot";
      RecordProperty(site + "/" + model, note.str());
      EXPECT_FALSE(r.crashed) << note.str();
      EXPECT_TRUE(r.landed) << note.str();
      EXPECT_TRUE(top.Contains(r.x, r.y)) << note.str();
      EXPECT_LT(r.speed, 0.5) << note.str() << ": at rest";
      EXPECT_GT(r.soared, 10.0) << note.str() << ": it soared above the pilot first";
    }
  }
}

}  // namespace
}  // namespace veltrane::tool
