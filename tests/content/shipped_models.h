#pragma once

namespace veltrane::content_test {

// Height of each model's centre of gravity above its lowest point, as the geometry
// loaders compute it; the flight checks see the models start at these heights.
constexpr double kSu26Clearance = 0.355;
constexpr double kGliderClearance = 0.073;
constexpr double kHeliClearance = 0.283;
constexpr double kParkflyerClearance = 0.1508;
constexpr double kTrainerFileClearance = 0.244;  // stated in the .mdl itself

}  // namespace veltrane::content_test
