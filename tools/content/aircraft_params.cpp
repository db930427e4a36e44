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
      {v.StallDragSlope,
       "StallDragSlope: rise of the drag coefficient per radian beyond the stall"},
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
  return {36.0, 0.35, 0.25, 0.018, 1.2, -1.2, 5.0,  2.0,  0.012, 0.012, 0.05, 1.0, 0.0,
          0.10, 2.0,  0.33, 0.10,  6.5, 1.1,  0.70, 0.45, 0.12,  0.06,  0.95, 0.02};
}

// How the gliders are tuned. Drag and induced drag act on each wing half with the
// whole wing area, so the profile drag a wing shows is twice ProfileDrag + ParasiteDrag.
// The lift acts along the body's up axis: a body flying nose-up against its path tilts
// the lift back into drag, nose-down tilts it forward. Each glider's incidence and
// zero-lift moment therefore balance so that, stick neutral, the body meets the air
// straight on (PitchMomentCoef = LiftSlope (chord/4 - CgPosition) WingIncidence / chord)
// at a lift coefficient near the wing's best. The pitch inertia here is the time constant
// of the angle of attack rather than the airframe's: its damping grows only with the
// airspeed, so an angle lagging behind a curving path tilts the lift forward and feeds
// the phugoid; a stiffness of about 80 v^2 (PitchInertia = 0.6125 LiftSlope (WingArea
// (chord/4 - CgPosition) + StabilizerArea TailArm) / 80) keeps the lag small even
// for the slow hand-launch gliders, whose throw at twice their trimmed speed would
// otherwise end in a second stall near the ground. The phugoid itself stays lightly damped, as on a
// real clean glider, and the pilot flies it out.

// Three-metre thermal glider, 1.6 kg on 0.54 m^2 (3 kg/m^2): trimmed hands-off at
// about 7.4 m/s, 19 : 1 and 0.39 m/s sink.
AirplaneValues GliderValues() {
  return {0.0,   0.30, 0.20, 0.006, 1.35, -0.5, 5.2,    3.0,  0.010, 0.0035, 0.15, 1.5, -0.0715,
          0.165, 3.0,  0.18, 0.06,  1.6,  0.90, 0.0028, 0.60, 0.074, 0.04,   1.05, 0.10};
}

// Two-metre thermal glider on rudder and elevator only: no aileron (gain 0), strong
// dihedral so the rudder banks it, 2.4 kg/m^2; 16.5 : 1 at 6.8 m/s.
AirplaneValues RudderGliderValues() {
  return {0.0,   0.12, 0.20, 0.0,  1.35, -0.5, 5.2,    3.0,  0.0095, 0.0035, 0.15, 1.5, -0.0672,
          0.155, 2.0,  0.18, 0.06, 0.85, 0.30, 0.0012, 0.25, 0.045,  0.03,   0.8,  0.12};
}

// Four-metre sailplane, 3.5 kg on 0.8 m^2, aspect ratio 20 and a clean section:
// 23 : 1 at 9 m/s. Long tail and big inertias about roll and yaw.
AirplaneValues SailplaneValues() {
  return {0.0,   0.30, 0.20, 0.008, 1.35, -0.5, 5.4,    3.0, 0.008, 0.0025, 0.15, 1.5, -0.067,
          0.155, 4.0,  0.2,  0.066, 3.5,  2.5,  0.0056, 2.0, 0.11,  0.06,   1.35, 0.08};
}

// Hand-launch glider, 1.5 m span and 300 g (1.3 kg/m^2): slow, light and quick to roll;
// the small chord's thick boundary layer costs drag, 13 : 1 at 5.3 m/s.
AirplaneValues HandLaunchGliderValues() {
  return {0.0,   0.30, 0.20, 0.0075, 1.35, -0.5, 5.2,    3.0,  0.012, 0.005, 0.15, 1.5, -0.0628,
          0.145, 1.5,  0.15, 0.05,   0.3,  0.04, 0.0007, 0.04, 0.028, 0.015, 0.7,  0.10};
}

// Motor glider of 2.5 m with a folding-propeller electric motor of half its weight:
// climbs steadily under power; motor off, the folded blades and the nose cost it a
// little against the thermal glider, 15 : 1 at 8.2 m/s.
AirplaneValues MotorGliderValues() {
  return {8.0,   0.30, 0.20, 0.005, 1.35, -0.5, 5.2,    3.0,  0.011, 0.005, 0.10, 1.5, -0.0603,
          0.145, 2.5,  0.2,  0.066, 1.6,  0.6,  0.0023, 0.45, 0.07,  0.035, 0.95, 0.08};
}

// Slope racer of 2.5 m, ballasted to 3 kg (6 kg/m^2) on a thin, low-drag section with
// a low incidence: it trims at 15.5 m/s and glides 19 : 1 there. Ailerons and elevator,
// hardly any dihedral.
AirplaneValues SlopeRacerValues() {
  return {0.0,   0.25, 0.20, 0.012, 1.2, -0.6, 5.5,    3.0, 0.006, 0.0018, 0.15, 1.5, -0.0317,
          0.072, 2.5,  0.2,  0.066, 3.0, 0.9,  0.0017, 0.6, 0.055, 0.035,  0.9,  0.04};
}

// Foam flying wing of 1.2 m, 600 g: no tail, so the centre of gravity sits ahead of the
// quarter chord and a reflexed section (positive zero-lift moment) trims it; the elevons
// act as a small tailplane just behind the centre of gravity. No rudder. The thick foam
// and the short span glide about 8 : 1, plenty on a slope.
AirplaneValues SlopeWingValues() {
  return {0.0,  0.0, 0.2,  0.02,  1.1, -0.6, 4.4,    3.0,  0.016, 0.006, 0.15, 1.5, 0.0339,
          0.11, 1.2, 0.25, 0.045, 0.6, 0.03, 0.0004, 0.03, 0.03,  0.012, 0.25, 0.03};
}

// Small hand-launch glider of 1.3 m and 250 g with a V-tail: 13 : 1 at 5.4 m/s.
AirplaneValues ThrowGliderValues() {
  return {0.0,   0.30, 0.20, 0.0075, 1.35, -0.5, 5.1,    3.0,  0.012, 0.005, 0.15, 1.5, -0.0634,
          0.145, 1.3,  0.14, 0.047,  0.25, 0.03, 0.0005, 0.03, 0.024, 0.014, 0.62, 0.10};
}

// A forgiving high-wing trainer: plenty of dihedral, hands-off trim at 14 m/s, and an
// engine of less than half its weight, so that full throttle climbs gently and half
// throttle flies level.
AirplaneValues TrainerValues() {
  return {10.0, 0.30, 0.18, 0.004, 1.1, -0.8, 5.0,  2.5,  0.012, 0.02,  0.06, 1.2, 0.0,
          0.08, 1.6,  0.27, 0.085, 2.4, 0.25, 0.15, 0.12, 0.084, 0.031, 0.72, 0.08};
}

// A light, slow park flyer of 1 m span. Its drag damps the phugoid, so it holds its
// height on half throttle; a big tailplane and a little incidence trim it slow enough to
// glide in on idle below the 3 m/s sink that breaks a landing gear.
AirplaneValues ParkflyerValues() {
  return {3.5,   0.30, 0.18, 0.004, 1.1,  -0.8,  5.0,   2.5,   0.014, 0.022, 0.06, 1.2, 0.0,
          0.065, 1.0,  0.16, 0.053, 0.65, 0.025, 0.015, 0.012, 0.05,  0.012, 0.45, 0.08};
}

// Low-wing sport model of 1.5 m, 2.8 kg: quicker than the trainer, little dihedral,
// rolls and loops readily on a glow engine of 60 % of its weight.
AirplaneValues SportValues() {
  return {16.0, 0.30, 0.22, 0.01, 1.2, -1.0, 5.0,  2.0,  0.012, 0.014, 0.05, 1.0, 0.0,
          0.10, 1.5,  0.28, 0.08, 2.8, 0.27, 0.17, 0.11, 0.068, 0.034, 0.72, 0.03};
}

// Scale warbird of 1.8 m and 5 kg (8.7 kg/m^2): fast, heavy on the controls, lands
// fast; a powerful petrol engine.
AirplaneValues WarbirdValues() {
  return {25.0, 0.30, 0.20, 0.007, 1.15, -0.9, 5.0, 2.5,  0.012, 0.014, 0.05, 1.2, 0.0,
          0.09, 1.8,  0.32, 0.09,  5.0,  0.8,  0.5, 0.35, 0.09,  0.045, 0.85, 0.04};
}

// Electric ducted-fan jet of 1.1 m and 2.2 kg: little drag, a thin swept wing that
// stalls early, fan thrust of 55 % of its weight. A low incidence trims it fast, so that
// full thrust right after the take-off does not loop it.
AirplaneValues JetValues() {
  return {12.0, 0.25, 0.18, 0.003, 1.0, -0.8, 4.5,  2.5,  0.009, 0.008, 0.04, 1.5, 0.0,
          0.06, 1.1,  0.28, 0.08,  2.2, 0.15, 0.12, 0.05, 0.05,  0.03,  0.6,  0.02};
}

std::vector<ParamLine> HelicopterLines() { return HelicopterLines(TrainerHeli()); }

HeliValues TrainerHeli() { return {}; }

// Lighter and livelier: less damping, more cyclic, a faster head.
HeliValues SportHeli() {
  HeliValues h;
  h.mass = 3.0;
  h.damping = 0.7;
  h.cyclic = 0.045;
  h.rpm = 1800.0;
  h.expo = 20.0;
  h.gyro = 0.3;
  return h;
}

std::vector<ParamLine> HelicopterLines(const HeliValues& h) {
  std::vector<ParamLine> l = {
      {h.mass, "Mass: kg"},
      {0.30, "HeliInertia about the up axis (yaw), kg m^2"},
      {0.26, "HeliInertia about the right axis (pitch), kg m^2"},
      {0.10, "HeliInertia about the forward axis (roll), kg m^2"},
      {h.damping, "RotationalDamping: torque per rad/s against any rotation, N m s"},
      {h.expo, "ExpoPitch: stick curve, > 0 softer around the centre"},
      {h.expo, "ExpoRoll"},
      {0.0, "ExpoYaw"},
      {0.0, "ExpoCollective: linear, so the hover point stays put"},
      {0.675, "RotorRadius: m"},
      {0.02, "BladeArea: area of one blade element (also the fuselage drag area), m^2"},
      {h.rpm, "RotorRpm: 1/min"},
      {0.15, "CollectiveGain: blade angle at full collective, rad (hovers near +0.3)"},
      {h.cyclic, "PitchCyclicGain: cyclic blade angle at full pitch stick, rad"},
      {h.cyclic, "RollCyclicGain: cyclic blade angle at full roll stick, rad"},
      {0.25, "RotorHeight: rotor plane above the centre of gravity, m"},
      {1.0, "InPlaneFlowFactor: share of the flight speed the blades feel in the rotor plane"},
      {0.125, "TailRotorRadius: m"},
      {0.005, "TailRotorArea: m^2"},
      {7000.0, "TailRotorRpm: 1/min"},
      {0.15, "TailPitchGain: tail blade angle at full yaw stick, rad"},
      {0.0174, "TailPitchTrim: tail blade angle that balances the rotor torque, rad"},
      {0.95, "TailRotorArm: tail rotor behind the centre of gravity, m"},
      {1.0, "SideFlowFactor: share of the sideways speed the tail rotor feels"},
      {h.gyro, "GyroGain: tail blade angle per rad/s of yaw rate (heading hold), s"},
      {50.0, "GyroStickReduction: gyro reduction per unit of yaw stick, percent"},
      {5.0, "LiftSlope: blade lift coefficient per radian"},
      {0.8, "MaxLift: blade lift coefficient limit"},
      {-0.8, "MinLift: negative blade lift coefficient limit"},
      {0.015, "ProfileDrag: blade drag coefficient"},
      {0.0,
       "BladeDragSlope: 0, so that the rotor torque and the tail trim balance at every collective"},
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
