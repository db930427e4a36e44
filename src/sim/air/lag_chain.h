#pragma once

#include <cstdint>

#include "sim/air/air_random.h"

namespace veltrane {

// Shaping filters for gusts and turbulence, stepped with their exact discrete
// form (transition matrix and the covariance of the noise collected over the
// step), so the statistics do not depend on the step length. Every state has
// variance 1 in the steady state; the caller scales the outputs.

// First-order Gauss-Markov process, x' = (-x + sqrt(2 tau) n) / tau.
struct Lag {
  double x = 0.0;
  void Start(AirRandom& rng) { x = rng.Normal(); }
  void Advance(double dt, double tau, AirRandom& rng);
};

// Two equal lags in a row, x1' = (-x1 + sqrt(2 tau) n) / tau, x2' = (x1 - x2) / tau,
// with steady covariance [[1, 1/2], [1/2, 1/2]] whatever tau. Y() = sqrt(3) x1 +
// (1 - sqrt(3)) x2 is white noise through (1 + sqrt(3) tau s) / (1 + tau s)^2 with
// variance 2: the Dryden v and w shape. x2 alone is smooth (differentiable), used
// for gusts. With withRate the third state z' = (Y - z) / tauZ low-passes Y, and
// Y - z = (tauZ s / (1 + tauZ s)) Y gives the handbook's rotational components.
struct LagChain {
  // One step of given length and time constants: x <- x + d x + l n, n unit
  // normal. Worth keeping where the step and time constants repeat.
  struct Step {
    double d[3][3];
    double l[3][3];
    std::int64_t states;
  };
  static Step Prepare(double dt, double tau, double tauZ, bool withRate);

  double x[3] = {0.0, 0.0, 0.0};
  void Start(double tau, double tauZ, bool withRate, AirRandom& rng);
  void Advance(const Step& step, AirRandom& rng);
  void Advance(double dt, double tau, double tauZ, bool withRate, AirRandom& rng) {
    Advance(Prepare(dt, tau, tauZ, withRate), rng);
  }
  double Y() const;
  double HighPass() const { return Y() - x[2]; }
};

}  // namespace veltrane
