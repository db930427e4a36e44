#include "ui/autozoom_dialog.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace veltrane::ui {

std::optional<int> ParseWholeNumber(const std::string& text) {
  std::size_t b = text.find_first_not_of(" \t");
  std::size_t e = text.find_last_not_of(" \t");
  if (b == std::string::npos) return std::nullopt;
  const char* first = text.data() + b;
  const char* last = text.data() + e + 1;
  if (*first == '+') ++first;  // from_chars takes only '-'
  int value = 0;
  auto [p, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || p != last) return std::nullopt;
  return value;
}

std::string TAZoomForm::ShortestText(double value) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, p) : std::string("0");
}

std::string TAZoomForm::InvalidNumberMessage(const std::string& text) {
  return "'" + text + "' ist kein gültiger ganzzahliger Wert";
}

std::string TAZoomForm::ZeroRangeMessage() {
  return "'0' ist kein gültiger Wert: voller Autozoom braucht eine Entfernung über 0 m";
}

void TAZoomForm::SetSpeed(int value) { speed = std::clamp(value, kMinSpeed, kMaxSpeed); }

void TAZoomForm::FormActivate(const AutozoomSettings& current) {
  timer_.SetTimerEnabled(false);
  noZoomText = ShortestText(current.fNoZoom);
  fullZoomText = ShortestText(current.fFullZoom);
  SetSpeed(current.fZoomSpeed);
}

void TAZoomForm::FormDeactivate() { timer_.SetTimerEnabled(true); }

std::optional<std::string> TAZoomForm::Button1Click(AutozoomSettings& target) const {
  const auto noZoom = ParseWholeNumber(noZoomText);
  if (!noZoom) return InvalidNumberMessage(noZoomText);
  target.fNoZoom = std::abs(static_cast<double>(*noZoom));
  const auto fullZoom = ParseWholeNumber(fullZoomText);
  if (!fullZoom) return InvalidNumberMessage(fullZoomText);
  // Full zoom at 0 m (both fields 0) would put the zoom's middle distance at
  // 0 and make the zoom infinite: refused like a non-number.
  if (*fullZoom == 0 && target.fNoZoom == 0.0) return ZeroRangeMessage();
  target.fFullZoom = std::abs(static_cast<double>(*fullZoom));
  if (target.fNoZoom > target.fFullZoom) target.fFullZoom = target.fNoZoom + 2.0;
  target.fZoomSpeed = speed;
  return std::nullopt;
}

}  // namespace veltrane::ui
