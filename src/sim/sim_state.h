#pragma once

#include <array>
#include <cstdint>

#include "base/math/vec3.h"
#include "sim/air/air.h"
#include "sim/functions.h"
#include "sim/random.h"

namespace veltrane {

// The airplane parameter set. Mass, LiftSlope, MaxLift, MinLift, ProfileDrag and
// ParasiteDrag are shared with the helicopter model. Defaults apply without a file.
struct AirplaneParams {
  double MaxThrust = 0.0;
  double RudderGain = 0.0;
  double ElevatorGain = 0.0;
  double AileronGain = 0.0;
  double MaxLift = 0.0;
  double MinLift = 0.0;
  double LiftSlope = 1.0;
  double StallLiftSlope = 0.0;
  double ProfileDrag = 0.01;
  double ParasiteDrag = 0.0;
  double WheelFriction = 1.0;
  double StallDragSlope = 0.0;
  double PitchMomentCoef = 0.0;
  double WingIncidence = 0.0;
  double WingSpan = 1.0;
  double WingChord = 1.0;
  double WingArea = 1.0;  // WingSpan * WingChord, derived when WingChord is read
  double CgPosition = 0.25;
  double Mass = 1.0;
  double YawInertia = 1.0;
  double PitchInertia = 1.0;
  double RollInertia = 1.0;
  double StabilizerArea = 0.01;
  double FinArea = 0.01;
  double TailArm = 1.0;
  double Dihedral = 0.0;
};

// One skid or wheel contact of a helicopter, position in body axes (forward, right, up).
struct HeliContact {
  Vec3 Position;
  double ContactFriction = 0.0;
  double ContactStiffness = 0.0;
  double ContactDamping = 0.0;
  double ContactMaxForce = 0.0;
  Vec3 WorldOffset;  // Position turned into world orientation, every sub-step
};

constexpr int kMaxContacts = 51;

// The helicopter's own parameters; the shared ones live in AirplaneParams.
struct HelicopterParams {
  Vec3 HeliInertia;  // .x roll (forward axis), .y pitch (right axis), .z yaw (up axis)
  double RotationalDamping = 0.0;
  double ExpoPitch = 0.0;
  double ExpoRoll = 0.0;
  double ExpoYaw = 0.0;
  double ExpoCollective = 0.0;
  double RotorRadius = 0.0;
  double BladeArea = 0.0;
  double RotorRpm = 0.0;
  double CollectiveGain = 0.0;
  double PitchCyclicGain = 0.0;
  double RollCyclicGain = 0.0;
  double RotorHeight = 0.0;
  double InPlaneFlowFactor = 0.0;
  double TailRotorRadius = 0.0;
  double TailRotorArea = 0.0;
  double TailRotorRpm = 0.0;
  double TailPitchGain = 0.0;
  double TailPitchTrim = 0.0;
  double TailRotorArm = 0.0;
  double SideFlowFactor = 0.0;
  double GyroGain = 0.0;
  double GyroStickReduction = 0.0;
  double BladeDragSlope = 0.0;
  std::int32_t ContactCount = 0;
  std::array<HeliContact, kMaxContacts> Contacts{};
};

struct Thermal {
  double x = 0.0;
  double y = 0.0;
  double strength = 0.0;
  double radius = 0.0;
};

constexpr int kMaxThermals = 160;

struct ThermalTable {
  std::int32_t iBubbles = 40;  // active entries, 0..160
  double BubbleZ = 2.0;        // strength of the strongest thermal, m/s
  std::array<Thermal, kMaxThermals> Thermals{};
};

// The check marks of the simulation menu that the tick and the flight models obey.
struct SimFlags {
  bool Pause = false;
  bool AutoInit = false;
  bool Autorestart = false;  // "indestructible model"
};

// The shared flight state: one object, passed by reference to every routine
// that reads or writes the flight. Units are SI; the frame has z up.
struct SimState {
  // Model state.
  Vec3 ModelPosition;
  Vec3 ModelVelocity;
  Vec3 AxisForward{0.0, 1.0, 0.0};
  Vec3 AxisUp{0.0, 0.0, 1.0};
  Vec3 AxisRight{1.0, 0.0, 0.0};
  double Airspeed = 0.0;
  double PitchRate = 0.0;
  double YawRate = 0.0;
  double RollRate = 0.0;
  Vec3 AngularVelocity;  // helicopter, world axes
  double GroundHeight = 0.0;
  bool Airborne = false;
  bool Crashed = false;
  // The indestructible model came through what would have been a crash during
  // the last tick: it flew on or was restarted at once, but it did crash.
  bool CrashAbsorbed = false;
  bool WinchAttached = false;
  double ThermalLift = 0.0;
  std::int32_t iModelStyle = 0;  // 0 airplane, 1 helicopter, other: no flight model
  double GroundClearance = 0.0;

  // Places.
  Vec3 PilotPosition;
  Vec3 StartPosition;
  Vec3 WinchPosition;

  // Timing. Times are milliseconds of the program's clock.
  double TimeStep = 0.0;
  std::int64_t LastTickTime = 0;
  std::int64_t PrevTickTime = 0;
  std::int64_t CrashTime = 0;
  bool AutoInitPending = false;

  // Controls, indexed by fn::kRudder ... fn::kCollective.
  std::array<double, fn::kCount> FunctionValue{};

  AirplaneParams Airplane;
  HelicopterParams Heli;
  ThermalTable Thermals;
  AirModel Air;  // still unless the pilot sets a wind
  SimFlags Flags;
  ProgramRandom Random;
};

}  // namespace veltrane
