#pragma once

#include <string>

#include "image.h"

namespace veltrane::content {

// The land around a landscape, once round the horizon: columns from north
// through east, rows from 12 degrees above the horizon to 8 below. Black is
// sky. Built from noise that wraps, so the picture's two ends meet.
inline constexpr int kPanoramaWidth = 2048;
inline constexpr int kPanoramaHeight = 120;
inline constexpr double kPanoramaAbove = 12.0;  // degrees
inline constexpr double kPanoramaBelow = -8.0;

// Which kind of country lies around a landscape.
struct PanoramaStyle {
  unsigned seed = 1;
  double farHills = 2.0;              // highest far hills, degrees above the horizon
  double midHills = 1.0;              // nearer hills
  double woods = 0.5;                 // share of the horizon with tree lines in front
  int farms = 3;                      // farmsteads along the horizon
  Rgb fields{0.36, 0.48, 0.2};        // the farmland's colour
  double seaFrom = 0.0, seaTo = 0.0;  // open sea between these azimuths (degrees), if they differ
};

Image Panorama(const PanoramaStyle& style);

// The style of a shipped landscape, by its file name.
PanoramaStyle PanoramaStyleFor(const std::string& landscape);

}  // namespace veltrane::content
