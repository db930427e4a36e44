#include "sim/air/lag_chain.h"

#include <algorithm>
#include <cmath>

namespace veltrane {

namespace {

constexpr double kSqrt3 = 1.7320508075688772;
constexpr double kAlpha = kSqrt3;  // Y = kAlpha x1 + kBeta x2
constexpr double kBeta = 1.0 - kSqrt3;

// h1(y) = integral_0^1 e^(-y v) dv and h2(y) = integral_0^1 v e^(-y v) dv for
// y >= 0, given em1 = expm1(-y); h2 from its series where the closed form
// cancels (the first term left out is below 1e-16 of the result).
double H1(double y, double em1) { return y == 0.0 ? 1.0 : -em1 / y; }
double H2(double y, double em1) {
  if (y >= 0.1) return (-em1 - y * (1.0 + em1)) / (y * y);
  // sum over k of (-y)^k / (k! (k + 2))
  constexpr double kC[] = {1.0 / 2,    -1.0 / 3,   1.0 / 8,      -1.0 / 30,    1.0 / 144,
                           -1.0 / 840, 1.0 / 5760, -1.0 / 45360, 1.0 / 403200, -1.0 / 3991680};
  double sum = kC[9];
  for (int k = 8; k >= 0; --k) sum = sum * y + kC[k];
  return sum;
}

using Mat = double[3][3];

// Lower Cholesky factor of a covariance that rounding may have left slightly
// indefinite: pivots at rounding level are dropped with their column, so a
// nearly singular step covariance cannot blow up into large noise.
void Factor(const Mat& q, int n, Mat& l) {
  double trace = 0.0;
  for (int i = 0; i < n; ++i) trace += q[i][i];
  const double tiny = 1e-14 * trace;
  for (int j = 0; j < n; ++j) {
    double pivot = q[j][j];
    for (int k = 0; k < j; ++k) pivot -= l[j][k] * l[j][k];
    const double d = pivot > tiny ? std::sqrt(pivot) : 0.0;
    l[j][j] = d;
    for (int i = j + 1; i < n; ++i) {
      double s = q[i][j];
      for (int k = 0; k < j; ++k) s -= l[i][k] * l[j][k];
      l[i][j] = d > 0.0 ? s / d : 0.0;
    }
  }
}

// Adds L n to x, always drawing n deviates so the generator's sequence does
// not depend on the conditions.
void AddNoise(const Mat& l, int n, double* x, AirRandom& rng) {
  double w[3];
  for (int i = 0; i < n; ++i) w[i] = rng.Normal();
  for (int i = 0; i < n; ++i)
    for (int k = 0; k <= i; ++k) x[i] += l[i][k] * w[k];
}

// Steady covariance of (x1, x2, z): the Lyapunov equation solved by hand.
void Steady(double tau, double tauZ, Mat& p) {
  const double r = tau / (tau + tauZ);
  p[0][0] = 1.0;
  p[1][0] = p[0][1] = 0.5;
  p[1][1] = 0.5;
  p[2][0] = p[0][2] = (kAlpha + 0.5 * kBeta) * r;
  p[2][1] = p[1][2] = (1.0 - r) * p[2][0] + r * 0.5 * (kAlpha + kBeta);
  p[2][2] = kAlpha * p[2][0] + kBeta * p[2][1];
}

}  // namespace

void Lag::Advance(double dt, double tau, AirRandom& rng) {
  const double d = dt / tau;
  x = std::exp(-d) * x + std::sqrt(-std::expm1(-2.0 * d)) * rng.Normal();
}

double LagChain::Y() const { return kAlpha * x[0] + kBeta * x[1]; }

void LagChain::Start(double tau, double tauZ, bool withRate, AirRandom& rng) {
  const int n = withRate ? 3 : 2;
  Mat p{}, l{};
  Steady(tau, tauZ, p);
  Factor(p, n, l);
  x[0] = x[1] = x[2] = 0.0;
  AddNoise(l, n, x, rng);
}

LagChain::Step LagChain::Prepare(double dt, double tau, double tauZ, bool withRate) {
  Step st{};
  const int n = withRate ? 3 : 2;
  st.states = n;
  // d = exp(A dt) - I, written out so that its small entries keep their digits.
  const double a = dt / tau, c = dt / tauZ;
  const double am1 = std::expm1(-a), ea = 1.0 + am1;
  auto& d = st.d;
  d[0][0] = d[1][1] = am1;
  d[1][0] = a * ea;
  if (withRate) {
    // z's response to x1 and x2: integrals of e^(-c (dt - s)) e^(-a s) (and times
    // s) over the step, in the form that stays accurate when a and c are close.
    const double cm1 = std::expm1(-c);
    const double y = std::abs(c - a), ym1 = std::expm1(-y);
    double k1 = 0.0, k2 = 0.0;
    if (c >= a) {
      k1 = ea * H1(y, ym1);
      k2 = ea * (H1(y, ym1) - H2(y, ym1));
    } else {
      k1 = (1.0 + cm1) * H1(y, ym1);
      k2 = (1.0 + cm1) * H2(y, ym1);
    }
    d[2][0] = c * (kAlpha * k1 + kBeta * a * k2);
    d[2][1] = c * kBeta * k1;
    d[2][2] = cm1;
  }
  // Noise over the step: Q = P - (I + d) P (I + d)^T = -(d P + (d P)^T + d P d^T)
  // for the steady covariance P; exact, and free of the cancellation of P - F P F^T.
  Mat p{}, m{}, q{};
  Steady(tau, tauZ, p);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k <= i; ++k) m[i][j] += d[i][k] * p[k][j];
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= i; ++j) {
      double mdt = 0.0;
      for (int k = 0; k <= j; ++k) mdt += m[i][k] * d[j][k];
      q[i][j] = q[j][i] = -(m[i][j] + m[j][i] + mdt);
    }
  Factor(q, n, st.l);
  return st;
}

void LagChain::Advance(const Step& st, AirRandom& rng) {
  const int n = static_cast<int>(st.states);
  double next[3] = {x[0], x[1], x[2]};
  for (int i = 0; i < n; ++i)
    for (int k = 0; k <= i; ++k) next[i] += st.d[i][k] * x[k];
  AddNoise(st.l, n, next, rng);
  std::copy(next, next + 3, x);
}

}  // namespace veltrane
