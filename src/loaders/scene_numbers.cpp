#include "loaders/scene_numbers.h"

#include <cmath>

#include "loaders/load_error.h"
#include "loaders/text_reader.h"

namespace veltrane::loaders {

std::int32_t RoundToInt(double value, const std::string& what, const std::string& written) {
  // The number as the file writes it: 1E308 stays five characters, not 309 digits.
  const auto outOfRange = [&] {
    return LoadError("Error: " + what + " value " + TextReader::Excerpt(written) +
                     " is out of range");
  };
  if (!std::isfinite(value) || value < -2147483648.5 || value > 2147483647.5) throw outOfRange();
  double r = std::floor(value);
  const double frac = value - r;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  if (r > 2147483647.0 || r < -2147483648.0) throw outOfRange();
  return static_cast<std::int32_t>(r);
}

}  // namespace veltrane::loaders
