#pragma once

#include <memory>

#include "base/rm/texture.h"
#include "base/rm/types.h"

namespace veltrane::rm {

// What lies beyond the geometry: a sky that lightens toward the horizon, with
// the sun where the brightest parallel light comes from and a cloud layer, and
// a 360 degree picture of the land around the terrain. Drawn only where no
// surface covers the view, so it costs nothing behind the ground.
struct Backdrop {
  // Seen on a flat layer high above, so clouds shrink and thicken toward the
  // horizon; the picture carries the sky's own blue. Null: a plain gradient.
  std::shared_ptr<Texture> clouds;
  // Columns run once round the horizon from north through east; rows from
  // `above` (top) down to `below` (radians of elevation). Black texels are sky.
  // Below its last row its bottom colour continues, so no sky ever shows
  // under the horizon. Null: the fog colour there.
  std::shared_ptr<Texture> panorama;
  float below = -0.14f;
  float above = 0.21f;
  // How far away the panorama stands (metres): it takes the fog of that distance,
  // as the terrain's edge does.
  float distance = 1500.0f;
  ColorRGB zenith{0.36f, 0.56f, 0.88f};  // sky colour overhead without clouds
};

}  // namespace veltrane::rm
