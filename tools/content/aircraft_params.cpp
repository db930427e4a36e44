#include "aircraft_params.h"

#include <string>

namespace veltrane::content {

std::vector<ParamLine> AirplaneLines(const AirplaneValues& v) {
  return {
      {v.MaxThrust, "MaxThrust: propeller thrust at full throttle, N (0 = glider)"},
      {v.RudderGain, "RudderGain: sideslip angle at full rudder, rad"},
      {v.ElevatorGain, "ElevatorGain: tail angle at full elevator, rad"},
      {v.AileronGain, "AileronGain: change of each half-wing's angle at full aileron, rad"},
      {v.MaxLift, "MaxLift: largest lift coefficient, reached at the stall"},
      {v.MinLift, "MinLift: most negative lift coefficient (inverted stall)"},
      {v.LiftSlope, "LiftSlope: lift coefficient per radian"},
      {v.StallLiftSlope, "StallLiftSlope: loss of lift coefficient per radian beyond the stall"},
      {v.ProfileDrag, "ProfileDrag: profile drag coefficient below the stall"},
      {v.ParasiteDrag, "ParasiteDrag: fuselage, gear and tail drag, added to each wing half"},
      {v.WheelFriction, "WheelFriction: rolling friction on the ground"},
      {v.StallDragSlope, "StallDragSlope: rise of the drag coefficient per radian beyond the stall"},
      {v.PitchMomentCoef, "PitchMomentCoef: zero-lift pitching moment of the wing (+ = nose up)"},
      {v.WingIncidence, "WingIncidence: wing angle against the fuselage and tail, rad"},
      {v.WingSpan, "WingSpan: m"},
      {v.WingChord, "WingChord: mean chord, m (wing area = span x chord)"},
      {v.CgPosition, "CgPosition: centre of gravity behind the leading edge, m"},
      {v.Mass, "Mass: kg"},
      {v.YawInertia, "YawInertia: about the up axis, kg m^2"},
      {v.PitchInertia, "PitchInertia: about the right axis, kg m^2"},
      {v.RollInertia, "RollInertia: about the forward axis, kg m^2"},
      {v.StabilizerArea, "StabilizerArea: horizontal tail, m^2"},
      {v.FinArea, "FinArea: vertical tail, m^2"},
      {v.TailArm, "TailArm: centre of gravity to the tail surfaces, m"},
      {v.Dihedral, "Dihedral: sideways lean of each half-wing's normal (0 = flat)"},
  };
}

// 6.5 kg, 0.66 m^2: about 10 kg/m^2 like a real 2 m aerobatic model. Symmetric
// section: stall at 1.2 / 5 = 0.24 rad (14 degrees) upright and inverted. The thrust
// does not fall with speed, so the drag is chosen for a top speed near 45 m/s. The lift
// acts along the body's up axis, so a fuselage flying nose-high tilts it back into drag:
// the wing sits at a high incidence instead, which trims it hands-off at about 17 m/s
// with the fuselage level, lifts it off the runway well below 30 m/s (a faster ground
// contact counts as a crash) and lets it glide in at about 2 m/s sink.
AirplaneValues Su26Values() {
  return {36.0, 0.35, 0.25, 0.018, 1.2,  -1.2, 5.0,  2.0,  0.012, 0.012, 0.05, 1.0, 0.0,
          0.10, 2.0,  0.33, 0.10,  6.5, 1.1,  0.70, 0.45, 0.12, 0.06,  0.95, 0.02};
}

// 1.8 kg on 0.54 m^2 (3.3 kg/m^2): trims hands-off at about 10 m/s, the speed of a
// hand launch, with a glide ratio near 17. The incidence stands for the angle between
// wing and tailplane; polyhedral gives a strong dihedral effect for rudder turns.
AirplaneValues GliderValues() {
  return {0.0,  0.30, 0.12, 0.05, 1.1, -0.5, 5.2,  3.0,   0.008, 0.004, 0.15, 1.5, -0.02,
          0.09, 3.0,  0.18, 0.063, 1.8, 0.90, 0.30, 0.60, 0.056, 0.04,  1.05, 0.10};
}

// A forgiving high-wing trainer: plenty of dihedral, hands-off trim at 14 m/s, and an
// engine of less than half its weight, so that full throttle climbs gently and half
// throttle flies level.
AirplaneValues TrainerValues() {
  return {10.0, 0.30, 0.18, 0.04, 1.1,  -0.8, 5.0,  2.5,  0.012, 0.02, 0.06, 1.2, 0.0,
          0.08, 1.6,  0.27, 0.085, 2.4, 0.25, 0.15, 0.12, 0.084, 0.031, 0.72, 0.08};
}

// A light park flyer of 1 m span.
AirplaneValues ParkflyerValues() {
  return {3.5,  0.30, 0.18, 0.04, 1.1,   -0.8, 5.0,  2.5,   0.014, 0.022, 0.06,  1.2, 0.0,
          0.06, 1.0,  0.16, 0.053, 0.65, 0.025, 0.015, 0.012, 0.032, 0.012, 0.45, 0.08};
}

std::vector<ParamLine> HelicopterLines() {
  std::vector<ParamLine> l = {
      {3.5, "Mass: kg"},
      {0.30, "HeliInertia about the up axis (yaw), kg m^2"},
      {0.26, "HeliInertia about the right axis (pitch), kg m^2"},
      {0.10, "HeliInertia about the forward axis (roll), kg m^2"},
      {1.5, "RotationalDamping: torque per rad/s against any rotation, N m s"},
      {30.0, "ExpoPitch: stick curve, > 0 softer around the centre"},
      {30.0, "ExpoRoll"},
      {0.0, "ExpoYaw"},
      {0.0, "ExpoCollective: linear, so the hover point stays put"},
      {0.675, "RotorRadius: m"},
      {0.02, "BladeArea: area of one blade element (also the fuselage drag area), m^2"},
      {1600.0, "RotorRpm: 1/min"},
      {0.15, "CollectiveGain: blade angle at full collective, rad (hovers near +0.3)"},
      {0.03, "PitchCyclicGain: cyclic blade angle at full pitch stick, rad"},
      {0.03, "RollCyclicGain: cyclic blade angle at full roll stick, rad"},
      {0.25, "RotorHeight: rotor plane above the centre of gravity, m"},
      {1.0, "InPlaneFlowFactor: share of the flight speed the blades feel in the rotor plane"},
      {0.125, "TailRotorRadius: m"},
      {0.005, "TailRotorArea: m^2"},
      {7000.0, "TailRotorRpm: 1/min"},
      {0.15, "TailPitchGain: tail blade angle at full yaw stick, rad"},
      {0.0174, "TailPitchTrim: tail blade angle that balances the rotor torque, rad"},
      {0.95, "TailRotorArm: tail rotor behind the centre of gravity, m"},
      {1.0, "SideFlowFactor: share of the sideways speed the tail rotor feels"},
      {0.4, "GyroGain: tail blade angle per rad/s of yaw rate (heading hold), s"},
      {50.0, "GyroStickReduction: gyro reduction per unit of yaw stick, percent"},
      {5.0, "LiftSlope: blade lift coefficient per radian"},
      {0.8, "MaxLift: blade lift coefficient limit"},
      {-0.8, "MinLift: negative blade lift coefficient limit"},
      {0.015, "ProfileDrag: blade drag coefficient"},
      {0.0, "BladeDragSlope: 0, so that the rotor torque and the tail trim balance at every collective"},
      {0.5, "ParasiteDrag: fuselage drag coefficient"},
  };
  l.push_back({4, "ContactCount: the four ends of the skids; then 7 lines per contact"});
  // Placed symmetrically about the centre of gravity, so that lifting off does not pitch it.
  const double fwd[2] = {0.20, -0.20};
  int k = 1;
  for (double f : fwd)
    for (double right : {0.13, -0.13}) {
      const std::string c = "contact " + std::to_string(k++) + ": ";
      l.push_back({f, c + "forward, m"});
      l.push_back({right, c + "right, m"});
      l.push_back({-0.283, c + "up, m (bottom of the skid tube)"});
      l.push_back({1.0, c + "ContactFriction"});
      l.push_back({2000.0, c + "ContactStiffness: N/m"});
      l.push_back({60.0, c + "ContactDamping: N per m/s"});
      l.push_back({400.0, c + "ContactMaxForce: spring force that breaks the skid, N"});
    }
  return l;
}

}  // namespace veltrane::content
