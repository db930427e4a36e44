#pragma once

#include <string>
#include <vector>

#include "shape.h"

namespace veltrane::content {

// A wheel in the neutral frame; a mirrored wheel has a twin at -y.
struct Wheel {
  P3 centre;
  double radius = 0.0;
  double width = 0.0;
  int color = 0;
  bool mirrored = false;
};

struct Propeller {
  P3 centre;
  P3 axis;
  double radius = 0.0;
};

// Everything the writers need to know about one aircraft's looks.
struct Design {
  std::string title;
  Model body;
  std::vector<Wheel> wheels;
  std::vector<Propeller> propellers;
};

// Adds the wheels as closed cylinders to a copy of the body (for formats and pictures
// that have no generated wheels).
Model WithWheelGeometry(const Design& d, int segments);

Design Su26();
Design Glider();
Design Helicopter();
// A high-wing trainer; `scale` 1 is the 1.6 m trainer, smaller values a park flyer.
Design HighWing(double scale, const Rgba& main, const Rgba& trim, const std::string& title);

}  // namespace veltrane::content
