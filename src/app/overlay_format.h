#pragma once

#include <cstdint>
#include <string>

namespace veltrane {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t RoundHalfEven(double v);

// "<label> <value> m/s" and friends of the overlay; decimal is the locale's separator.
std::string SpeedLine(const std::string& label, double speed);
std::string HeightLine(const std::string& label, double height);
std::string VarioLine(const std::string& label, double climb, char decimal);
// "Wind: 6.0 m/s aus 270°": the set speed and the direction it blows from.
std::string WindLine(const std::string& label, const std::string& from, double speed,
                     double fromDegrees, char decimal);
std::string FpsLine(const std::string& label, int fps);

// Frames per second over at least a second of the clock.
class FrameRateMeter {
 public:
  // Counts one frame at time now; returns true when the rate was measured anew.
  bool Frame(std::int64_t nowMs);
  void Reset(std::int64_t nowMs);
  int Rate() const { return rate_; }

 private:
  std::int64_t since_ = 0;
  int frames_ = 0;
  int rate_ = 0;
};

}  // namespace veltrane
