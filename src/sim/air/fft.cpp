#include "sim/air/fft.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace veltrane {

Fft::Fft(int size) : size_(size) {
  if (size < 2 || (size & (size - 1)) != 0)
    throw std::invalid_argument("Fft: size not a power of two");
  const double pi = 3.141592653589793;
  twiddles_.resize(static_cast<std::size_t>(size / 2));
  for (int k = 0; k < size / 2; ++k)
    twiddles_[static_cast<std::size_t>(k)] = std::polar(1.0, -2.0 * pi * k / size);
  int bits = 0;
  while ((1 << bits) < size) ++bits;
  for (int a = 0; a < size; ++a) {
    int b = 0;
    for (int i = 0; i < bits; ++i)
      if (a & (1 << i)) b |= 1 << (bits - 1 - i);
    if (a < b) {
      swaps_.push_back(a);
      swaps_.push_back(b);
    }
  }
}

void Fft::Transform(std::complex<double>* data, bool inverse) const {
  for (std::size_t s = 0; s < swaps_.size(); s += 2)
    std::swap(data[swaps_[s]], data[swaps_[s + 1]]);
  for (int half = 1; half < size_; half *= 2) {
    const int stride = size_ / (2 * half);
    for (int start = 0; start < size_; start += 2 * half) {
      for (int k = 0; k < half; ++k) {
        std::complex<double> w = twiddles_[static_cast<std::size_t>(k * stride)];
        if (inverse) w = std::conj(w);
        std::complex<double>& a = data[start + k];
        std::complex<double>& b = data[start + k + half];
        // Spelled out: std::complex multiplication checks for inf/NaN on every call.
        const std::complex<double> t(b.real() * w.real() - b.imag() * w.imag(),
                                     b.real() * w.imag() + b.imag() * w.real());
        b = a - t;
        a += t;
      }
    }
  }
}

}  // namespace veltrane
