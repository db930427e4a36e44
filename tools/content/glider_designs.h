#pragma once

#include <string>

#include "design.h"

namespace veltrane::content {

enum class TailKind { Cross, T, V };

// What sets one glider's looks apart from another's.
struct GliderLook {
  std::string title;
  double span = 2.0;        // m
  double rootChord = 0.2;   // m
  double tipChord = 0.1;    // m
  double tipSweep = 0.05;   // leading edge of the tip behind the root's, m
  double dihedral = 0.06;   // rise of the wing over the half span, radians-ish
  bool polyhedral = false;  // outer third of each half rising steeply
  double length = 1.4;      // nose to tail, m
  double pod = 0.06;        // largest half height of the fuselage, m
  bool podAndBoom = false;  // a short pod with a thin boom instead of a slim fuselage
  bool canopy = true;
  TailKind tail = TailKind::T;
  double tailSpan = 0.5;   // m, whole tailplane or V-tail span
  double finHeight = 0.2;  // m
  Rgba main, trim;
};

// A conventional glider: fuselage along -x to +x, wing near the centre of gravity.
Design SlenderGlider(const GliderLook& look);
// A swept foam flying wing with winglets and a small central pod.
Design FoamWing(double span, const Rgba& main, const Rgba& trim, const std::string& title);

}  // namespace veltrane::content
