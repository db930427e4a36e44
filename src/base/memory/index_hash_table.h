#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrane {

// A hash table of indices into an array its user keeps. A slot holds an index
// and a short hash of its key; the user tells by the index whether an entry is
// the one looked for. One flat array with linear probing: no heap block per
// entry, where a node-based map spends one on each (and a landscape's load
// adds hundreds of thousands of entries).
class IndexHashTable {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  // The index whose entry `same(index)` accepts among those stored under
  // `hash`, else kNone.
  template <typename Same>
  std::uint32_t Find(std::uint64_t hash, Same&& same) const {
    if (slots_.empty()) return kNone;
    return slots_[Probe(Short(hash), same)].index;
  }

  // Stores `index` under `hash` unless an entry `same` accepts is there.
  // Returns that entry's index, or kNone when `index` went in.
  template <typename Same>
  std::uint32_t Insert(std::uint64_t hash, std::uint32_t index, Same&& same) {
    return Put(hash, index, same, false);
  }

  // Stores `index` under `hash`, in place of the entry `same` accepts if there
  // is one. Returns the index it replaced, or kNone.
  template <typename Same>
  std::uint32_t Replace(std::uint64_t hash, std::uint32_t index, Same&& same) {
    return Put(hash, index, same, true);
  }

  std::size_t Size() const { return used_; }
  // Empty, keeping the slots for the next fill.
  void Clear() {
    if (used_) slots_.assign(slots_.size(), Slot{});
    used_ = 0;
  }
  // Empty, and the slots' memory handed back.
  void Release() {
    std::vector<Slot>().swap(slots_);
    used_ = 0;
  }

 private:
  struct Slot {
    std::uint32_t index = kNone;
    std::uint32_t hash = 0;
  };

  // The high half of a multiplicative mix: the low bits of the keys users
  // pass (packed grid cells, small integers) alone would cluster.
  static std::uint32_t Short(std::uint64_t hash) {
    return static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ull) >> 32);
  }

  // The slot holding the accepted entry, else the empty slot ending the probe.
  template <typename Same>
  std::size_t Probe(std::uint32_t h, Same& same) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.index == kNone || (s.hash == h && same(s.index))) return i;
    }
  }

  template <typename Same>
  std::uint32_t Put(std::uint64_t hash, std::uint32_t index, Same& same, bool replace) {
    // At most half full, so that probes stay short and always end.
    if (2 * (used_ + 1) > slots_.size()) Grow();
    const std::uint32_t h = Short(hash);
    Slot& s = slots_[Probe(h, same)];
    const std::uint32_t before = s.index;
    if (before == kNone) {
      s = Slot{index, h};
      ++used_;
    } else if (replace) {
      s.index = index;
    }
    return before;
  }

  void Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 16 : 2 * old.size(), Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (s.index == kNone) continue;
      std::size_t i = s.hash & mask;
      while (slots_[i].index != kNone) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace veltrane
