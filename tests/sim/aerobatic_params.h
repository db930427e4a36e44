#pragma once

#include "sim/sim_state.h"

namespace veltrane::testing {

// A 2 m span aerobatic model of 5 kg, trimmed to fly hands-off at about 14 m/s.
// The same numbers are in data/aerobatic.par. PitchMomentCoef carries the nose-up
// trim, so the model flies with the elevator centred.
inline AirplaneParams AerobaticParams() {
  AirplaneParams p;
  p.MaxThrust = 20.0;
  p.RudderGain = 0.25;
  p.ElevatorGain = 0.25;
  p.AileronGain = 0.03;
  p.MaxLift = 1.2;
  p.MinLift = -1.0;
  p.LiftSlope = 5.0;
  p.StallLiftSlope = 2.0;
  p.ProfileDrag = 0.015;
  p.ParasiteDrag = 0.008;
  p.WheelFriction = 0.05;
  p.StallDragSlope = 1.0;
  p.PitchMomentCoef = 0.15;
  p.WingIncidence = 0.05;
  p.WingSpan = 2.0;
  p.WingChord = 0.35;
  p.WingArea = p.WingSpan * p.WingChord;
  p.CgPosition = 0.09;
  p.Mass = 5.0;
  p.YawInertia = 1.0;
  p.PitchInertia = 0.8;
  p.RollInertia = 0.25;
  p.StabilizerArea = 0.12;
  p.FinArea = 0.06;
  p.TailArm = 0.9;
  p.Dihedral = 0.03;
  return p;
}

}  // namespace veltrane::testing
