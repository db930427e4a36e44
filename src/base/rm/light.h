#pragma once

#include "base/rm/types.h"

namespace veltrane::rm {

enum class LightType {
  Ambient,
  // Directional light whose direction runs from the position of the frame that
  // carries it to the lit object.
  ParallelPoint,
};

struct Light {
  LightType type = LightType::Ambient;
  ColorRGB color;
};

}  // namespace veltrane::rm
