#pragma once

#include "base/rm/types.h"

namespace veltrane::rm {

struct Material {
  float power = 0.0f;  // specular exponent
  ColorRGB specular;
  ColorRGB emissive;

  void SetSpecular(float r, float g, float b) { specular = {r, g, b}; }
  void SetEmissive(float r, float g, float b) { emissive = {r, g, b}; }
};

}  // namespace veltrane::rm
