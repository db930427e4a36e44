#include "qualities.h"

namespace veltrane::qualities {
namespace {

// Full throttle with a little up elevator for the take-off run, then the elevator that
// climbs it out without looping.
std::string ClimbOut(double lift_off, double climb_elevator) {
  return "0 set throttle 1\n0 set elevator -0.1\n" + std::to_string(lift_off) + " set elevator " +
         std::to_string(climb_elevator) + "\n";
}

// The aerobatic models climb steeply, are pulled up and then levelled with a push.
const char* const kAerobaticClimb =
    "0 set throttle 1\n0 set elevator -0.1\n6 set elevator 0.15\n7.5 set elevator 0.03\n";

}  // namespace

// By kind: powered airplanes, gliders (the motor glider among them), helicopters.
// Columns: file, kind, climb-out script, time at height, cruise throttle, winch elevator.
// The winch elevator is the launch preset a glider pilot sets: the gliders trim slow
// for a flat glide, so most need a push on the line lest the lift at winch speed loop
// them off it; the heavy, fast slope racer needs a little up. Thrown by hand at 10 m/s,
// 1.1 times its stall speed and far below its 15.6 m/s trim, the racer dives into the
// field unless the pilot holds up elevator, its launch preset: then it settles onto the
// field instead.
const std::vector<ShippedModel>& ShippedModels() {
  static const std::vector<ShippedModel> models = {
      {"Model/trainer.mdl", Kind::Trainer, ClimbOut(7, 0.0), 16, 0.0, 0.0},
      {"Model/sport.par", Kind::Sport, kAerobaticClimb, 16.3, -0.3, 0.0},
      {"Model/su-26.par", Kind::Aerobatic, kAerobaticClimb, 16.3, -0.4, 0.0},
      {"Model/warbird.par", Kind::Warbird, ClimbOut(7, 0.02), 16, -0.3, 0.0},
      {"Model/parkflyer.par", Kind::ParkFlyer, ClimbOut(5, 0.0), 14, 0.0, 0.0},
      {"Model/edf-jet.par", Kind::Jet, ClimbOut(7, 0.1), 16, 0.0, 0.0},
      {"Model/rudder-glider.par", Kind::ThermalGlider, "", 0, 0.0, 0.55},
      {"Model/glider.par", Kind::ThermalGlider, "", 0, 0.0, 0.64},
      {"Model/sailplane.par", Kind::Sailplane, "", 0, 0.0, 0.58},
      {"Model/hlg.par", Kind::HandLaunchGlider, "", 0, 0.0, 0.45},
      {"Model/throw-glider.par", Kind::HandLaunchGlider, "", 0, 0.0, 0.42},
      {"Model/slope-racer.par", Kind::SlopeRacer, "", 0, 0.0, -0.2, -0.3},
      {"Model/slope-wing.par", Kind::SlopeGlider, "", 0, 0.0, 0.36},
      {"Model/motor-glider.par", Kind::MotorGlider, ClimbOut(3.2, 0.3), 16, -1.0, 0.48},
      {"Model/heli.par", Kind::HeliTrainer, "", 0, 0.0, 0.0},
      {"Model/heli-sport.par", Kind::HeliSport, "", 0, 0.0, 0.0},
  };
  return models;
}

}  // namespace veltrane::qualities
