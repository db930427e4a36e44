#include "app/overlay_format.h"

#include <charconv>
#include <cmath>

namespace veltrane {

std::int64_t RoundHalfEven(double v) {
  if (!std::isfinite(v)) return 0;
  const double r = std::floor(v);
  const double diff = v - r;
  double out = r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) out = r + 1.0;
  if (out > 9.0e18) return INT64_MAX;
  if (out < -9.0e18) return INT64_MIN;
  return static_cast<std::int64_t>(out);
}

std::string SpeedLine(const std::string& label, double speed) {
  return label + " " + std::to_string(RoundHalfEven(speed)) + " m/s";
}

std::string HeightLine(const std::string& label, double height) {
  return label + " " + std::to_string(RoundHalfEven(height)) + " m";
}

namespace {

std::string OneDecimal(double v, char decimal) {
  if (!std::isfinite(v)) v = 0.0;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
  std::string s(buf, r.ptr);
  if (s == "-0.0") s = "0.0";  // a tiny sink is no sink on the display
  for (char& c : s)
    if (c == '.') c = decimal;
  return s;
}

}  // namespace

std::string VarioLine(const std::string& label, double climb, char decimal) {
  return label + " " + OneDecimal(climb, decimal) + " m/s";
}

std::string WindLine(const std::string& label, const std::string& from, double speed,
                     double fromDegrees, char decimal) {
  std::int64_t degrees = std::isfinite(fromDegrees) ? RoundHalfEven(fromDegrees) % 360 : 0;
  if (degrees < 0) degrees += 360;
  return label + " " + OneDecimal(speed, decimal) + " m/s " + from + " " + std::to_string(degrees) +
         "°";
}

std::string FpsLine(const std::string& label, int fps) { return label + " " + std::to_string(fps); }

bool FrameRateMeter::Frame(std::int64_t nowMs) {
  ++frames_;
  const std::int64_t elapsed = nowMs - since_;
  if (elapsed < 1000) return false;
  rate_ = static_cast<int>(RoundHalfEven(frames_ * 1000.0 / static_cast<double>(elapsed)));
  frames_ = 0;
  since_ = nowMs;
  return true;
}

void FrameRateMeter::Reset(std::int64_t nowMs) {
  since_ = nowMs;
  frames_ = 0;
}

}  // namespace veltrane
