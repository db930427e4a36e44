#include "panorama.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "noise.h"

namespace veltrane::content {
namespace {

const Rgb kHaze{0.89, 0.98, 1.0};  // the program's fog colour
const Rgb kSky{0, 0, 0};           // drawn as sky

constexpr double kRowsPerDegree = kPanoramaHeight / (kPanoramaAbove - kPanoramaBelow);

// Picture row whose middle lies at `degrees` of elevation (fractional).
double RowOf(double degrees) { return (kPanoramaAbove - degrees) * kRowsPerDegree - 0.5; }

// A height profile round the horizon, 0..1, wrapping at the picture's width.
std::vector<double> Profile(int cells, int octaves, unsigned seed) {
  std::vector<double> h(kPanoramaWidth);
  for (int x = 0; x < kPanoramaWidth; ++x)
    h[x] = FractalNoise(static_cast<double>(x) * cells / kPanoramaWidth, 0.5, octaves, seed, cells);
  return h;
}

// Land never takes pure black, which is the sky's.
Rgb Land(Rgb c) {
  c.r = std::max(c.r, 0.01);
  c.g = std::max(c.g, 0.01);
  c.b = std::max(c.b, 0.01);
  return c;
}

bool IsSky(const Rgb& c) { return c.r == 0.0 && c.g == 0.0 && c.b == 0.0; }

// Fills column x from elevation `top` (degrees) down to the bottom with `shade(row)`.
// The row the outline crosses gets the share it covers, over what lies behind it or
// the haze the sky has there: an outline whole rows high would show as stairs once
// the picture is magnified on screen.
template <typename Shade>
void FillDown(Image& img, int x, double top, Shade shade) {
  const double edge = RowOf(top);
  for (int y = std::max(0, static_cast<int>(std::floor(edge + 0.5))); y < kPanoramaHeight; ++y) {
    const double cover = std::clamp(y + 0.5 - edge, 0.0, 1.0);
    if (cover <= 0.0) continue;
    const Rgb behind = IsSky(img.At(x, y)) ? kHaze : img.At(x, y);
    img.At(x, y) = Land(cover < 1.0 ? Mix(behind, shade(y), cover) : shade(y));
  }
}

// The outline of a row of trees round the horizon, 0 to 1.25 of the row's height:
// rounded crowns of uneven width and height, overlapping.
std::vector<double> TreeTops(unsigned seed) {
  std::vector<double> top(kPanoramaWidth, 0.0);
  Sequence seq(seed);
  for (double at = 0.0; at < kPanoramaWidth; at += seq.Range(2.5, 6.0)) {
    const double halfWidth = seq.Range(2.0, 4.5), height = seq.Range(0.7, 1.25);
    for (int dx = static_cast<int>(-std::ceil(halfWidth)); dx <= std::ceil(halfWidth); ++dx) {
      const double u = (std::floor(at) + dx + 0.5 - at) / halfWidth;
      if (std::abs(u) >= 1.0) continue;
      const int x = (static_cast<int>(std::floor(at)) + dx + kPanoramaWidth) % kPanoramaWidth;
      top[x] = std::max(top[x], height * std::sqrt(1.0 - u * u));
    }
  }
  return top;
}

double AzimuthOf(int x) { return 360.0 * (x + 0.5) / kPanoramaWidth; }

bool AtSea(const PanoramaStyle& s, double azimuth) {
  if (s.seaFrom == s.seaTo) return false;
  const double span = std::fmod(s.seaTo - s.seaFrom + 360.0, 360.0);
  return std::fmod(azimuth - s.seaFrom + 360.0, 360.0) < span;
}

// How far into the sea sector a column lies, 0 at its ends: the coast falls away there.
double SeaDepth(const PanoramaStyle& s, double azimuth) {
  if (!AtSea(s, azimuth)) return 0.0;
  const double span = std::fmod(s.seaTo - s.seaFrom + 360.0, 360.0);
  const double into = std::fmod(azimuth - s.seaFrom + 360.0, 360.0);
  return std::clamp(std::min(into, span - into) / 12.0, 0.0, 1.0);
}

void DrawFarmstead(Image& img, double centre, double width, double wall, const Rgb& walls,
                   const Rgb& roof) {
  const int x0 = static_cast<int>(std::floor((centre - width / 2) / 360.0 * kPanoramaWidth));
  const int x1 = static_cast<int>(std::ceil((centre + width / 2) / 360.0 * kPanoramaWidth));
  const double ridge = wall * 1.7;
  for (int xi = x0; xi <= x1; ++xi) {
    const int x = (xi % kPanoramaWidth + kPanoramaWidth) % kPanoramaWidth;
    const double t = std::abs((xi - x0) / std::max(1.0, static_cast<double>(x1 - x0)) - 0.5) * 2;
    const double top = wall + (ridge - wall) * (1.0 - t);
    const double wallRow = RowOf(wall), horizon = RowOf(0.0);
    for (int y = std::max(0, static_cast<int>(std::ceil(RowOf(top)))); y <= horizon; ++y)
      img.At(x, y) = Land(y < wallRow ? roof : walls);
  }
}

}  // namespace

Image Panorama(const PanoramaStyle& s) {
  Image img(kPanoramaWidth, kPanoramaHeight, kSky);
  const std::vector<double> far = Profile(12, 4, s.seed);
  const std::vector<double> mid = Profile(20, 4, s.seed + 1);
  const std::vector<double> woods = Profile(48, 3, s.seed + 2);
  const std::vector<double> crowns = TreeTops(s.seed + 3);
  const std::vector<double> cover = Profile(16, 2, s.seed + 4);
  const Rgb farColour = Mix({0.3, 0.4, 0.45}, kHaze, 0.55);
  const Rgb midColour = Mix({0.24, 0.36, 0.2}, kHaze, 0.35);
  const Rgb woodColour = Mix({0.1, 0.2, 0.08}, kHaze, 0.14);
  const Rgb sea{0.18, 0.36, 0.5};
  for (int x = 0; x < kPanoramaWidth; ++x) {
    const double az = AzimuthOf(x);
    const double land = 1.0 - SeaDepth(s, az);  // 0 far out at sea
    // Far hills, then nearer ones, each paler with distance.
    const double farTop = land * (0.25 + s.farHills * far[x] * far[x] * 1.6);
    FillDown(img, x, farTop, [&](int y) {
      return Mix(farColour, kHaze, 0.25 * std::clamp((y - RowOf(farTop)) / 8.0, 0.0, 1.0));
    });
    const double midTop = land * (0.1 + s.midHills * std::max(0.0, mid[x] - 0.35) * 2.2);
    FillDown(img, x, midTop, [&](int) { return midColour; });
    // Tree lines and hedges where the cover noise allows, their crowns uneven.
    const bool wooded = cover[x] < 0.25 + s.woods * 0.5 && land > 0.5;
    if (wooded) {
      // Trees 15-25 m high some hundred metres off: one to two degrees.
      const double top = (0.25 + 0.5 * woods[x]) + (0.6 + 0.6 * woods[x]) * crowns[x];
      FillDown(img, x, top, [&](int y) {
        // Crowns lit from above, darker inside.
        const double depth = std::clamp((y - RowOf(top)) / 6.0, 0.0, 1.0);
        return Scale(woodColour, (1.15 - 0.3 * depth) * (0.9 + 0.2 * Hash01(x, y, s.seed + 5)));
      });
    }
    // Below the horizon: fields in patches, or the sea; hazier toward the horizon.
    const double horizon = RowOf(0.0);
    for (int y = static_cast<int>(std::ceil(horizon)); y < kPanoramaHeight; ++y) {
      const double depth = std::clamp((y - horizon) / (kPanoramaHeight - horizon), 0.0, 1.0);
      Rgb c;
      if (land < 1.0 && AtSea(s, az)) {
        c = Mix(Mix(s.fields, {0.76, 0.7, 0.52}, 0.5), sea, 1.0 - land);
      } else {
        const double patch = ValueNoise(x * 64.0 / kPanoramaWidth, depth * 6.0, s.seed + 6, 64);
        c = Scale(s.fields, 0.8 + 0.4 * patch);
      }
      img.At(x, y) = Land(Mix(c, kHaze, 0.5 * (1.0 - depth) * (1.0 - depth)));
    }
  }
  // Farmsteads on the land: white walls under red or grey roofs.
  Sequence seq(s.seed + 7);
  for (int i = 0; i < s.farms; ++i) {
    double az = seq.Range(0.0, 360.0);
    if (SeaDepth(s, az) > 0.0) continue;
    const Rgb roof = seq.Next() < 0.6 ? Rgb{0.55, 0.22, 0.16} : Rgb{0.35, 0.36, 0.38};
    const Rgb walls = Mix({0.86, 0.84, 0.78}, kHaze, 0.2);
    const double width = seq.Range(0.6, 1.4);
    DrawFarmstead(img, az, width, seq.Range(0.25, 0.4), walls, Mix(roof, kHaze, 0.15));
    // A barn beside it, and a tree or two.
    DrawFarmstead(img, az + width * 0.9, width * 0.8, 0.3, Mix({0.5, 0.4, 0.3}, kHaze, 0.2),
                  Mix({0.3, 0.3, 0.3}, kHaze, 0.15));
  }
  return img;
}

PanoramaStyle PanoramaStyleFor(const std::string& l) {
  PanoramaStyle s;
  if (l == "world") {  // rolling meadows, woods, hills around
    s = {101, 2.5, 1.2, 0.6, 4, {0.34, 0.47, 0.19}};
  } else if (l == "lake") {  // wooded hills behind, mountains beyond
    s = {102, 5.5, 2.5, 0.8, 1, {0.26, 0.4, 0.18}};
  } else if (l == "field") {  // flat farmland to the horizon
    s = {103, 0.8, 0.5, 0.5, 7, {0.42, 0.5, 0.2}};
  } else if (l == "valley") {  // between wooded hills
    s = {104, 8.0, 4.0, 0.9, 1, {0.2, 0.36, 0.16}};
  } else if (l == "coast") {  // the sea to the east
    s = {105, 1.5, 0.8, 0.4, 3, {0.42, 0.5, 0.26}, 20.0, 160.0};
  } else if (l == "ridge") {  // a wide meadow to the north, hills behind
    s = {106, 3.5, 1.5, 0.5, 4, {0.36, 0.48, 0.2}};
  } else if (l == "cliffs") {  // the sea to the north
    s = {107, 1.5, 0.8, 0.3, 2, {0.42, 0.5, 0.26}, 290.0, 70.0};
  } else if (l == "hill") {  // farmland all round
    s = {108, 1.8, 0.9, 0.5, 6, {0.4, 0.5, 0.22}};
  }
  return s;
}

}  // namespace veltrane::content
