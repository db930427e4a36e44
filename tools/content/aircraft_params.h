#pragma once

#include <vector>

#include "model_writers.h"

namespace veltrane::content {

// Airplane block values in file order, each with its note. The notes explain the
// choice so that model authors can learn from the files.
struct AirplaneValues {
  double MaxThrust, RudderGain, ElevatorGain, AileronGain, MaxLift, MinLift, LiftSlope,
      StallLiftSlope, ProfileDrag, ParasiteDrag, WheelFriction, StallDragSlope, PitchMomentCoef,
      WingIncidence, WingSpan, WingChord, CgPosition, Mass, YawInertia, PitchInertia, RollInertia,
      StabilizerArea, FinArea, TailArm, Dihedral;
};

std::vector<ParamLine> AirplaneLines(const AirplaneValues& v);

AirplaneValues Su26Values();
AirplaneValues GliderValues();
AirplaneValues TrainerValues();
AirplaneValues ParkflyerValues();

// The helicopter block, the contact count and the contact groups in file order.
std::vector<ParamLine> HelicopterLines();

}  // namespace veltrane::content
