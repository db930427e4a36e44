#pragma once

#include <complex>
#include <vector>

#include "sim/air/fft.h"

namespace veltrane {

// Streamlines of a 2-D flow: point k of streamline m at (x, z) with velocity
// (u, w), stored at [m * samples + k].
struct Streamlines {
  int samples = 0;
  std::vector<double> x, z, u, w;
};

// Steady 2-D potential flow with unit free stream along +x over a periodic
// profile z = e(x), sampled at x = k dx for k < samples (period samples * dx).
//
// The air above the profile is the conformal image of the upper half plane,
// z = zeta + F(zeta) with F periodic and bounded as Im zeta grows. The complex
// potential is then zeta itself: each line Im zeta = eta is a streamline and the
// velocity is conj(1 / z'). On the real axis F = X + iY with X the Hilbert
// transform of Y, and the profile condition Y(xi) = e(xi + X(xi)) is met by a
// fixed-point iteration on Y, damped per point by 1 / (1 + e'^2): the plain
// iteration only contracts where |e'| < 1, the damped one for any slope. The
// interior then comes exactly from the Fourier series, one pair of inverse
// transforms per streamline. This is exact potential flow for the sampled
// profile (no small-slope linearisation, no panel quadrature), at the cost of
// a few dozen FFTs per profile.
class ProfileFlowSolver {
 public:
  // etas: the streamlines wanted, as Im zeta, far above the profile the
  // height above its mean.
  ProfileFlowSolver(int samples, double dx, std::vector<double> etas);

  // Two profiles at once, carried as real and imaginary part of one complex
  // signal (every operator here maps real signals to real signals).
  void Solve(const double* surfaceA, const double* surfaceB, Streamlines& a, Streamlines& b);
  int LastIterations() const { return iterations_; }

 private:
  void Levels(Streamlines& a, Streamlines& b);

  int n_;
  double dx_;
  std::vector<double> etas_;
  Fft fft_;
  std::vector<double> decay_;  // e^{-|k| eta_m} / n per streamline and frequency
  std::vector<double> sign_;   // sign of the frequency at index k, 0 at 0 and n/2
  std::vector<std::complex<double>> spectrum_, work_, work2_;
  std::vector<double> ya_, yb_;
  int iterations_ = 0;
};

}  // namespace veltrane
