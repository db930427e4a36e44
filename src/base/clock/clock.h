#pragma once

#include <chrono>
#include <cstdint>

namespace veltrane {

// Time in milliseconds from an arbitrary origin. The tick only uses differences.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() const = 0;
};

class SteadyClock final : public Clock {
 public:
  std::int64_t NowMs() const override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

// A clock that tests and the headless tools move by hand.
class ManualClock final : public Clock {
 public:
  std::int64_t NowMs() const override { return now_; }
  void Set(std::int64_t ms) { now_ = ms; }
  void Advance(std::int64_t ms) { now_ += ms; }

 private:
  std::int64_t now_ = 0;
};

}  // namespace veltrane
