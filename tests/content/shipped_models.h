#pragma once

namespace veltrane::content_test {

// Height of each model's centre of gravity above its lowest point, as the geometry
// loaders compute it; the flight checks see the models start at these heights.
constexpr double kSu26Clearance = 0.355;
constexpr double kGliderClearance = 0.073;
constexpr double kHeliClearance = 0.283;
constexpr double kParkflyerClearance = 0.1508;
constexpr double kTrainerFileClearance = 0.244;  // stated in the .mdl itself
constexpr double kSportClearance = 0.2556;
constexpr double kWarbirdClearance = 0.3195;
constexpr double kJetClearance = 0.192;
constexpr double kRudderGliderClearance = 0.0565;
constexpr double kSailplaneClearance = 0.088;
constexpr double kHlgClearance = 0.046;
constexpr double kMotorGliderClearance = 0.12;  // the propeller tip
constexpr double kSlopeRacerClearance = 0.0512;
constexpr double kSlopeWingClearance = 0.02;
constexpr double kThrowGliderClearance = 0.0407;
constexpr double kHeliSportClearance = 0.2406;

}  // namespace veltrane::content_test
