#pragma once

#include <string>
#include <vector>

#include "shape.h"

namespace veltrane::content {

// A wheel in the neutral frame; a mirrored wheel has a twin at -y.
struct Wheel {
  Vec3 centre;
  double radius = 0.0;
  double width = 0.0;
  int color = 0;
  bool mirrored = false;
};

struct Propeller {
  Vec3 centre;
  Vec3 axis;
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
// A swept-wing fast model with a ducted fan inside: no propeller, tricycle gear.
Design DuctedFanJet();

// The same looks at another size: every point, wheel and propeller scaled per axis
// (x along the fuselage, y along the span, z up). Wheels and propeller discs keep
// their shape and take the mean of the span and height factors.
Design Scaled(const Design& d, double sx, double sy, double sz, const std::string& title);
// Gives every colour called `name` the new shade (the name stays in the files' comments
// as the new one's).
void Recolour(Design& d, const std::string& name, const Rgba& shade);
// A two-blade propeller with its disc in the nose, for a motor glider.
void AddNosePropeller(Design& d, double x, double radius);

}  // namespace veltrane::content
