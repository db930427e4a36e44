#pragma once

namespace veltrane::content_test {

// Height of each model's centre of gravity above its lowest point, as the geometry
// loaders compute it. The flight checks give it to the tool, which reads only the .par.
constexpr double kSu26Clearance = 0.355;
constexpr double kGliderClearance = 0.073;
constexpr double kHeliClearance = 0.283;
constexpr double kParkflyerClearance = 0.1508;
constexpr double kTrainerClearance = 0.0;  // the tool takes the .mdl file's own:
constexpr double kTrainerFileClearance = 0.244;

}  // namespace veltrane::content_test
