#pragma once

#include <complex>
#include <vector>

namespace veltrane {

// In-place radix-2 complex FFT of a fixed power-of-two size, twiddles and
// bit-reversal precomputed so repeated transforms of the same size cost only
// the butterflies.
class Fft {
 public:
  explicit Fft(int size);  // size: a power of two, at least 2
  int Size() const { return size_; }
  // data[k] <- sum_j data[j] e^{-2 pi i jk / n}
  void Forward(std::complex<double>* data) const { Transform(data, false); }
  // data[k] <- sum_j data[j] e^{+2 pi i jk / n}: the inverse without the 1/n,
  // which callers fold into their spectral factors.
  void Backward(std::complex<double>* data) const { Transform(data, true); }

 private:
  void Transform(std::complex<double>* data, bool inverse) const;
  int size_;
  std::vector<std::complex<double>> twiddles_;  // e^{-2 pi i k / n}, k < n / 2
  std::vector<int> swaps_;                      // bit-reversal pairs (a < b)
};

}  // namespace veltrane
