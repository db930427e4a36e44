#pragma once

#include <functional>
#include <ostream>
#include <vector>

namespace veltrane::content {

// Low-polygon things that stand on a flying field, written as landscape-file quads
// (x east, y north, z up). Everything is drawn with CULL ON; thin boards and flag
// cloth are written once from each side.

struct Point2 {
  double x = 0.0, y = 0.0;
};

// Posts and two rails along a line of points.
struct Fence {
  std::vector<Point2> line;
  double spacing = 3.0;  // between posts
  double height = 1.1;
};

// A low deck with a railing on its front and sides, open at the back.
struct PilotStand {
  Point2 centre;
  Point2 facing;  // unit vector out over the front railing
  double width = 4.0, depth = 2.5, deck = 0.3;
};

// A pole with a cloth flying out from its top.
struct Flag {
  Point2 foot;
  double pole = 7.0;
  int design = 0;  // band of the flag picture (0..kFlagDesigns-1)
};

struct FieldFurniture {
  std::vector<Fence> fences;
  std::vector<PilotStand> stands;
  std::vector<Flag> flags;
  Point2 flag_towards{1.0, 0.0};  // unit vector the cloths fly out along (downwind)
  bool Empty() const { return fences.empty() && stands.empty() && flags.empty(); }
};

// Designs stacked in the flag picture, one band each, top to bottom.
constexpr int kFlagDesigns = 4;

// Ground height at a point: where posts and decks stand.
using GroundAt = std::function<double(double x, double y)>;

// Writes the furniture's quads; `flag_texture` names the flag picture.
void WriteFurniture(std::ostream& o, const FieldFurniture& f, const GroundAt& ground,
                    const char* flag_texture);

}  // namespace veltrane::content
