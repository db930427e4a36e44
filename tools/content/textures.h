#pragma once

#include "image.h"

namespace veltrane::content {

// Ground, sky and tree pictures for the landscapes. All ground textures tile
// seamlessly (their noise wraps at the picture's edge).
Image GrassTexture(int size, const Rgb& base, const Rgb& light, double roughness, unsigned seed);
// Grass with a mown strip of the given width (pixels) down the middle, in lanes, the
// rough beside it darker, then an apron mown in wide lanes that fades into plain grass
// towards the picture's sides.
Image RunwayTexture(int size, int strip);
// Ploughed or crop field: rows across the picture.
Image FieldTexture(int size, const Rgb& soil, const Rgb& crop, unsigned seed);
// Sand and shallow water for lake shores, and open water.
Image WaterTexture(int size, unsigned seed);
// Blue sky with soft clouds; repeats across the dome.
Image SkyTexture(int size);
// The same with its own blue, cloud cover (noise level above which clouds form: lower
// is cloudier) and cloud pattern.
Image SkyTexture(int size, const Rgb& sky, double clear, unsigned seed);
// Trees on a black background (black shows as transparent); no tree pixel is black.
Image PineTexture(int width, int height, unsigned seed);
Image LeafTreeTexture(int width, int height, unsigned seed);
// Club flags, one design per band of rows (kFlagDesigns bands, top to bottom).
Image FlagTexture(int width, int height);

}  // namespace veltrane::content
