#pragma once

#include <string>
#include <vector>

#include "design.h"
#include "image.h"

namespace veltrane::content {

// One value of a parameter block with the note written beside it.
struct ParamLine {
  double value;
  std::string note;
};

// Numbers as the model files want them: a point as decimal separator, at most
// `decimals` digits after it, no trailing zeros.
std::string Num(double v, int decimals = 4);

// Keyword geometry file: a BODY object with all faces (cull on, texture off), a
// PROPELLER object per propeller and a TWO_WHEEL object per mirrored wheel pair.
std::string GeoText(const Design& d, const std::string& header_comment);

// The program's own numeric model file: 25 airplane values, ground clearance,
// smooth flag 1 (phong), colours, vertices, disc and wheel parts, faces.
std::string MdlText(const Design& d, const std::vector<ParamLine>& airplane);

// DirectX text geometry with one material per colour and face normals; the
// wheels are real geometry here and the propeller disc a translucent fan.
std::string XText(const Design& d);

// Parameter file: the style line and one value per line, each with its note.
std::string ParText(int style, const std::vector<ParamLine>& lines, const std::string& header);

// The lowest point of the design's geometry below the origin (wheels included).
double LowestPoint(const Design& d);

// A lit three-quarter view of the design drawn over an existing picture, fitted
// into the given box.
void RenderOnto(const Design& d, Image& img, int x0, int y0, int width, int height);

}  // namespace veltrane::content
