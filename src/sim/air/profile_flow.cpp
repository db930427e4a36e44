#include "sim/air/profile_flow.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace veltrane {

namespace {
constexpr int kMaxIterations = 120;
// Residual in the profile condition, relative to the profile's relief, at
// which the map counts as found: far below what the table's resolution shows.
constexpr double kTolerance = 2e-4;

struct Sample {
  double height;
  double slope;
};

// The periodic, piecewise linear profile at x.
Sample At(const double* e, int n, double dx, double x) {
  if (!std::isfinite(x)) return {e[0], 0.0};
  const double g = x / dx;
  const double cell = std::floor(g);
  const double f = g - cell;
  const double period = static_cast<double>(n);
  long i0 = static_cast<long>(cell - period * std::floor(cell / period));
  if (i0 < 0 || i0 >= n) i0 = 0;
  const long i1 = i0 + 1 == n ? 0 : i0 + 1;
  const double a = e[i0], b = e[i1];
  return {a + (b - a) * f, (b - a) / dx};
}

double Relief(const double* e, int n) {
  const auto [lo, hi] = std::minmax_element(e, e + n);
  return *hi - *lo;
}
}  // namespace

ProfileFlowSolver::ProfileFlowSolver(int samples, double dx, std::vector<double> etas)
    : n_(samples), dx_(dx), etas_(std::move(etas)), fft_(samples) {
  const double pi = 3.141592653589793;
  const double dk = 2.0 * pi / (n_ * dx_);
  // The decay factors carry the inverse transform's 1 / n.
  const double scale = 1.0 / n_;
  sign_.assign(static_cast<std::size_t>(n_), 0.0);
  for (int k = 1; k < n_ / 2; ++k) {
    sign_[static_cast<std::size_t>(k)] = 1.0;
    sign_[static_cast<std::size_t>(n_ - k)] = -1.0;
  }
  decay_.resize(etas_.size() * static_cast<std::size_t>(n_));
  for (std::size_t m = 0; m < etas_.size(); ++m)
    for (int k = 0; k < n_; ++k) {
      const int freq = k <= n_ / 2 ? k : n_ - k;
      decay_[m * n_ + k] = scale * std::exp(-dk * freq * etas_[m]);
    }
  spectrum_.resize(static_cast<std::size_t>(n_));
  work_.resize(static_cast<std::size_t>(n_));
  work2_.resize(static_cast<std::size_t>(n_));
  ya_.resize(static_cast<std::size_t>(n_));
  yb_.resize(static_cast<std::size_t>(n_));
}

void ProfileFlowSolver::Solve(const double* ea, const double* eb, Streamlines& a, Streamlines& b) {
  const double tolA = kTolerance * std::max(Relief(ea, n_), 1e-3);
  const double tolB = kTolerance * std::max(Relief(eb, n_), 1e-3);
  std::copy(ea, ea + n_, ya_.begin());
  std::copy(eb, eb + n_, yb_.begin());
  std::complex<double>* w = work_.data();
  for (iterations_ = 1; iterations_ <= kMaxIterations; ++iterations_) {
    for (int k = 0; k < n_; ++k) w[k] = {ya_[k], yb_[k]};
    fft_.Forward(w);
    // X = H[Y]: multiply by i sign(k).
    const double scale = 1.0 / n_;
    for (int k = 0; k < n_; ++k) {
      const double f = sign_[k] * scale;
      w[k] = {-w[k].imag() * f, w[k].real() * f};
    }
    fft_.Backward(w);
    double worstA = 0.0, worstB = 0.0;
    for (int k = 0; k < n_; ++k) {
      const double xi = k * dx_;
      const Sample sa = At(ea, n_, dx_, xi + w[k].real());
      const Sample sb = At(eb, n_, dx_, xi + w[k].imag());
      const double ra = sa.height - ya_[k], rb = sb.height - yb_[k];
      ya_[k] += ra / (1.0 + sa.slope * sa.slope);
      yb_[k] += rb / (1.0 + sb.slope * sb.slope);
      worstA = std::max(worstA, std::abs(ra));
      worstB = std::max(worstB, std::abs(rb));
    }
    if (worstA <= tolA && worstB <= tolB) break;
  }
  iterations_ = std::min(iterations_, kMaxIterations);
  for (int k = 0; k < n_; ++k) spectrum_[k] = {ya_[k], yb_[k]};
  fft_.Forward(spectrum_.data());
  Levels(a, b);
}

void ProfileFlowSolver::Levels(Streamlines& a, Streamlines& b) {
  const std::size_t total = etas_.size() * static_cast<std::size_t>(n_);
  for (Streamlines* s : {&a, &b}) {
    s->samples = n_;
    s->x.resize(total);
    s->z.resize(total);
    s->u.resize(total);
    s->w.resize(total);
  }
  const double period = n_ * dx_;
  std::complex<double>* y = work_.data();
  std::complex<double>* x = work2_.data();
  for (std::size_t m = 0; m < etas_.size(); ++m) {
    const double* decay = &decay_[m * n_];
    for (int k = 0; k < n_; ++k) {
      const std::complex<double> c = spectrum_[k] * decay[k];
      y[k] = c;
      x[k] = {-c.imag() * sign_[k], c.real() * sign_[k]};
    }
    fft_.Backward(y);
    fft_.Backward(x);
    const std::size_t row = m * n_;
    for (int k = 0; k < n_; ++k) {
      a.x[row + k] = k * dx_ + x[k].real();
      b.x[row + k] = k * dx_ + x[k].imag();
      a.z[row + k] = etas_[m] + y[k].real();
      b.z[row + k] = etas_[m] + y[k].imag();
    }
    // Velocity conj(1 / z'), z' by central differences along the streamline.
    for (Streamlines* s : {&a, &b}) {
      for (int k = 0; k < n_; ++k) {
        const int prev = k == 0 ? n_ - 1 : k - 1, next = k == n_ - 1 ? 0 : k + 1;
        const double xp = s->x[row + prev] - (k == 0 ? period : 0.0);
        const double xn = s->x[row + next] + (k == n_ - 1 ? period : 0.0);
        const double xs = (xn - xp) / (2.0 * dx_);
        const double zs = (s->z[row + next] - s->z[row + prev]) / (2.0 * dx_);
        const double q = std::max(xs * xs + zs * zs, 1e-4);
        s->u[row + k] = xs / q;
        s->w[row + k] = zs / q;
      }
    }
  }
}

}  // namespace veltrane
