#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace veltrane::rm {

// The corners of one face, used like a vector. Up to three stay inside the
// face: a landscape is some hundred thousand triangles, and a block of their
// own would cost each one more than its corners. Larger polygons keep theirs
// in one block.
template <typename T>
class CornerList {
 public:
  static constexpr std::uint32_t kInline = 3;

  CornerList() = default;
  CornerList(const CornerList& other) { *this = other; }
  CornerList(CornerList&& other) noexcept { *this = std::move(other); }
  ~CornerList() = default;

  CornerList& operator=(const CornerList& other) {
    if (this == &other) return *this;
    clear();
    reserve(other.size_);
    std::copy(other.begin(), other.end(), data());
    size_ = other.size_;
    return *this;
  }
  CornerList& operator=(CornerList&& other) noexcept {
    if (this == &other) return *this;
    inline_ = other.inline_;
    heap_ = std::move(other.heap_);
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.size_ = 0;
    other.capacity_ = kInline;
    return *this;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return data()[i]; }
  const T& operator[](std::size_t i) const { return data()[i]; }
  T* begin() { return data(); }
  T* end() { return data() + size_; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }

  void clear() { size_ = 0; }
  void reserve(std::size_t n) {
    if (n <= capacity_) return;
    auto grown = std::make_unique<T[]>(n);
    std::copy(begin(), end(), grown.get());
    heap_ = std::move(grown);
    capacity_ = static_cast<std::uint32_t>(n);
  }
  void push_back(const T& value) {
    if (size_ == capacity_) reserve(2 * static_cast<std::size_t>(capacity_));
    data()[size_++] = value;
  }

 private:
  T* data() { return heap_ ? heap_.get() : inline_.data(); }
  const T* data() const { return heap_ ? heap_.get() : inline_.data(); }

  std::array<T, kInline> inline_{};
  std::unique_ptr<T[]> heap_;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = kInline;
};

}  // namespace veltrane::rm
