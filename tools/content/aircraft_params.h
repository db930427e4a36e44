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
AirplaneValues RudderGliderValues();
AirplaneValues SailplaneValues();
AirplaneValues HandLaunchGliderValues();
AirplaneValues MotorGliderValues();
AirplaneValues SlopeRacerValues();
AirplaneValues SlopeWingValues();
AirplaneValues ThrowGliderValues();
AirplaneValues SportValues();
AirplaneValues WarbirdValues();
AirplaneValues JetValues();

// What tells the helicopters apart; the rest of their block is shared.
struct HeliValues {
  double mass = 3.5;
  double damping = 1.5;  // RotationalDamping: the trainer's is strong
  double cyclic = 0.03;  // both cyclic gains
  double rpm = 1600.0;
  double expo = 30.0;  // pitch and roll stick curves
  double gyro = 0.4;
};
HeliValues TrainerHeli();
HeliValues SportHeli();
std::vector<ParamLine> HelicopterLines(const HeliValues& h);

// The helicopter block, the contact count and the contact groups in file order.
std::vector<ParamLine> HelicopterLines();

}  // namespace veltrane::content
